#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pondrel {

// The command line of the program:
//     pondrel [--device DIR] [--zoom FACTOR] [--measure-start-up] [--help]
// The device folder is --device, else $PONDREL_DEVICE, else $XDG_DATA_HOME/pondrel/device, else
// ~/.local/share/pondrel/device. The zoom factor (decimal, 0.5 to 8) scales the whole 240 x 320
// form; without --zoom the program leaves the scaling to Qt and the desktop (1 on a normal
// screen, the screen's own factor on a high-density one).
struct ProgramOptions {
    std::filesystem::path device;
    std::optional<double> zoom;
    bool help = false;
    // Print the time from the program's start to the first page shown, then quit (nothing is
    // saved).
    bool measureStartUp = false;
    // When the process started, for --measure-start-up.
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();

    static constexpr double kMinZoom = 0.5;
    static constexpr double kMaxZoom = 8.0;
    static constexpr const char* kUsage =
        "usage: pondrel [--device DIR] [--zoom FACTOR]\n"
        "  --device DIR     the device folder (default: $PONDREL_DEVICE, else\n"
        "                   $XDG_DATA_HOME/pondrel/device or ~/.local/share/pondrel/device;\n"
        "                   prepare one with: pondrel-tool init-device DIR)\n"
        "  --zoom FACTOR    scales the 240 x 320 form, e.g. 2 or 1.5\n"
        "  --measure-start-up\n"
        "                   prints the time to the first page shown, then quits\n"
        "                   without saving\n";

    // Reads the arguments after the program name (Qt's own options already removed). False with
    // a reason for an unknown option, a missing value or a zoom out of range.
    bool Parse(const std::vector<std::string>& args, std::string* problem);

    // The zoom given on a raw command line, before the Qt application exists (Qt reads its
    // scale factor when it starts). None when absent or not a valid factor.
    static std::optional<double> ZoomFromArguments(int argc, char** argv);
    static std::optional<double> ParseZoom(const std::string& text);

    // The device folder used when --device is not given.
    static std::filesystem::path DefaultDevice();
};

}  // namespace pondrel
