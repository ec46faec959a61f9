#include <cstdio>
#include <string>
#include <vector>

#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "settings/Preferences.h"
#include "settings/PreferencesFile.h"
#include "settings/PreferencesFormat.h"
#include "startup/DeviceSetup.h"
#include "tool/HostFiles.h"
#include "tool/LocaleDateOrder.h"
#include "tool/ToolCommand.h"

#ifndef PONDREL_RESOURCES_DIR
#define PONDREL_RESOURCES_DIR ""
#endif

namespace pondrel::tool {

namespace {

int RunInitDevice(const std::vector<std::string>& args);

const ToolCommand kInitDevice{
    "init-device", "init-device [--force] [--resources DIR] DIR",
    "creates a device folder with the factory installation and the working folders; a "
    "preferences file it writes takes the date order of the system's locale (LC_ALL, LC_TIME, "
    "LANG)",
    RunInitDevice};

// The factory preferences put the month first: a preferences file just written for the device
// takes the date order of the system's locale instead. A file the device had is left alone.
void TakeLocaleDateOrder(DeviceSetup& setup) {
    const std::u16string path = std::u16string(DeviceSetup::kInstallation) + u"\\" +
                                std::u16string(preferences_format::kFileName);
    bool written = false;
    for (const std::u16string& p : setup.written) written = written || p == path;
    const std::optional<int> order = DateOrderOfLocale(SystemTimeLocale());
    if (!written || !order) return;
    HostFileSystem files(setup.device);
    Preferences preferences;
    if (!ReadPreferencesFile(files, path, preferences)) return;
    if (preferences.regional.dateOrder == *order) return;
    preferences.regional.dateOrder = *order;
    if (WritePreferencesFile(files, path, preferences)) {
        std::printf("date order %s (system locale %s)\n", *order == 0 ? "month first" : "day first",
                    std::string(SystemTimeLocale()).c_str());
    }
}

int RunInitDevice(const std::vector<std::string>& args) {
    DeviceSetup setup;
    setup.resources = FactoryFolder(PONDREL_RESOURCES_DIR);
    bool haveDevice = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--force") {
            setup.force = true;
        } else if (args[i] == "--resources" && i + 1 < args.size()) {
            setup.resources = args[++i];
        } else if (!args[i].empty() && args[i][0] != '-' && !haveDevice) {
            setup.device = args[i];
            haveDevice = true;
        } else {
            return UsageError(kInitDevice);
        }
    }
    if (!haveDevice) return UsageError(kInitDevice);
    if (setup.resources.empty()) {
        std::fprintf(stderr, "pondrel-tool: no resources folder known; give --resources DIR\n");
        return 1;
    }
    Error error;
    if (!setup.Run(&error)) {
        std::fprintf(stderr, "pondrel-tool init-device: %s\n", error.message.c_str());
        return 1;
    }
    TakeLocaleDateOrder(setup);
    for (const std::u16string& path : setup.written) {
        std::printf("created %s\n", ToUtf8(path).c_str());
    }
    for (const std::u16string& path : setup.kept) {
        std::printf("kept    %s\n", ToUtf8(path).c_str());
    }
    std::printf("device folder ready: %s\n", setup.device.string().c_str());
    return 0;
}

}  // namespace

}  // namespace pondrel::tool
