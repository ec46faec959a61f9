#include "ui/app/ProgramOptions.h"

#include <cstdlib>
#include <cstring>

namespace pondrel {

namespace {

const char* Environment(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

// "--name VALUE" or "--name=VALUE": true when args[i] is the option; i moves past its value.
bool TakeValue(const std::vector<std::string>& args, size_t& i, const std::string& name,
               std::optional<std::string>& value) {
    const std::string& arg = args[i];
    if (arg == name) {
        if (i + 1 < args.size()) value = args[++i];
        return true;
    }
    if (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0 &&
        arg[name.size()] == '=') {
        value = arg.substr(name.size() + 1);
        return true;
    }
    return false;
}

}  // namespace

std::optional<double> ProgramOptions::ParseZoom(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size()) return std::nullopt;
    if (!(value >= kMinZoom && value <= kMaxZoom)) return std::nullopt;
    return value;
}

std::filesystem::path ProgramOptions::DefaultDevice() {
    if (const char* device = Environment("PONDREL_DEVICE")) return device;
    if (const char* data = Environment("XDG_DATA_HOME")) {
        return std::filesystem::path(data) / "pondrel" / "device";
    }
    if (const char* home = Environment("HOME")) {
        return std::filesystem::path(home) / ".local" / "share" / "pondrel" / "device";
    }
    return std::filesystem::path("pondrel-device");
}

bool ProgramOptions::Parse(const std::vector<std::string>& args, std::string* problem) {
    device.clear();
    zoom.reset();
    help = false;
    measureStartUp = false;
    for (size_t i = 0; i < args.size(); ++i) {
        std::optional<std::string> value;
        if (args[i] == "--help" || args[i] == "-h") {
            help = true;
        } else if (args[i] == "--measure-start-up") {
            measureStartUp = true;
        } else if (TakeValue(args, i, "--device", value)) {
            if (!value || value->empty()) {
                if (problem) *problem = "--device needs a folder";
                return false;
            }
            device = *value;
        } else if (TakeValue(args, i, "--zoom", value)) {
            zoom = value ? ParseZoom(*value) : std::nullopt;
            if (!zoom) {
                if (problem) *problem = "--zoom needs a factor from 0.5 to 8, such as 2 or 1.5";
                return false;
            }
        } else {
            if (problem) *problem = "unknown argument '" + args[i] + "'";
            return false;
        }
    }
    if (device.empty()) device = DefaultDevice();
    return true;
}

std::optional<double> ProgramOptions::ZoomFromArguments(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::optional<double> found;
    for (size_t i = 0; i < args.size(); ++i) {
        std::optional<std::string> value;
        if (TakeValue(args, i, "--zoom", value) && value) found = ParseZoom(*value);
    }
    return found;
}

}  // namespace pondrel
