#include "tool/HostFiles.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/HostFileSystem.h"
#include "platform/Text.h"
#include "tool/ValueEscaping.h"

namespace pondrel::tool {

std::u16string DeviceNameOf(const std::filesystem::path& file) {
    return u"\\" + FromUtf8(file.filename().string());
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
    std::filesystem::path parent = file.parent_path();
    return parent.empty() ? std::filesystem::path(".") : parent;
}

bool ReadHostFile(const std::filesystem::path& file, std::string& bytes) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool ReadHostFile(const std::filesystem::path& file, size_t maxBytes, std::string& bytes) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    bytes.assign(maxBytes, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(maxBytes));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return !in.bad();
}

bool WriteHostFile(const std::filesystem::path& file, const std::string& bytes) {
    HostFileSystem files(FolderOf(file));
    return files.WriteFile(DeviceNameOf(file), bytes);
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

}  // namespace pondrel::tool
