#include "tool/HostFiles.h"

#include <cstdio>

#include "platform/Text.h"
#include "tool/ValueEscaping.h"

namespace pondrel::tool {

std::optional<std::u16string> DeviceNameOf(const std::filesystem::path& file) {
    std::u16string name = FromUtf8(file.filename().string());
    if (name.find(u'\\') != std::u16string::npos) {
        std::fprintf(stderr, "pondrel-tool: %s: a name holding \"\\\" can not name a device file\n",
                     file.string().c_str());
        return std::nullopt;
    }
    return u"\\" + name;
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
    std::filesystem::path parent = file.parent_path();
    return parent.empty() ? std::filesystem::path(".") : parent;
}

BoxAnswer StderrMessages::ShowBox(const std::u16string& text, const std::u16string& caption,
                                  BoxButtons buttons, BoxIcon) {
    std::fprintf(stderr, "%s: %s\n", EscapedValue(caption).c_str(), EscapedValue(text).c_str());
    switch (buttons) {
        case BoxButtons::Ok:
            return BoxAnswer::Ok;
        case BoxButtons::OkCancel:
            return BoxAnswer::Cancel;
        default:
            return BoxAnswer::No;
    }
}

void StderrMessages::ShowNotice(const std::u16string& text, int, bool) {
    std::fprintf(stderr, "%s\n", EscapedValue(text).c_str());
}

std::filesystem::path FactoryFolder(const std::filesystem::path& built) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        std::filesystem::path installed =
            self.parent_path().parent_path() / "share" / "pondrel" / "factory";
        if (std::filesystem::is_regular_file(installed / "Labels.txt", error)) return installed;
    }
    return built;
}

}  // namespace pondrel::tool
