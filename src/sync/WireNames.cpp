#include "sync/WireNames.h"

namespace pondrel {

bool IsReservedInName(char16_t c) {
    return c < 0x20 || c == 0x7F ||
           std::u16string_view(u"|#/<>\u00A2\u00A6\u00A7\u00AC").find(c) !=
               std::u16string_view::npos;
}

bool HasReservedInName(std::u16string_view text) {
    for (char16_t c : text) {
        if (IsReservedInName(c)) return true;
    }
    return false;
}

bool HasUnpairedSurrogate(std::u16string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            ++i;  // a pair
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            return true;
        }
    }
    return false;
}

bool IsValidUserName(std::u16string_view name) {
    return name.size() >= kMinUserNameChars && name.size() <= kMaxUserNameChars &&
           !HasReservedInName(name) && name.front() != u' ' && name.back() != u' ' &&
           !HasUnpairedSurrogate(name);
}

bool IsValidPassword(std::u16string_view password) {
    return !password.empty() && password.size() <= kMaxPasswordChars &&
           !HasReservedInName(password);
}

bool IsPatientFileName(std::u16string_view name) {
    constexpr size_t kMaxChars = 200;
    if (name.size() <= 4 || name.size() > kMaxChars) return false;
    std::u16string_view extension = name.substr(name.size() - 4);
    if (extension[0] != u'.' || (extension[1] | 0x20) != u'p' || (extension[2] | 0x20) != u'd' ||
        (extension[3] | 0x20) != u'r') {
        return false;
    }
    if (name == u"..pdr" || name.front() == u'.' || name.front() == u' ') return false;
    if (HasUnpairedSurrogate(name)) return false;  // stores and file systems would alter it
    for (char16_t c : name) {
        if (c < 0x20 || c == 0x7F ||
            std::u16string_view(u"\\/:*?\"<>|#\u00A2\u00A6\u00A7\u00AC").find(c) !=
                std::u16string_view::npos) {
            return false;
        }
    }
    return true;
}

std::u16string_view WithoutExtension(std::u16string_view fileName) {
    return fileName.size() > 4 ? fileName.substr(0, fileName.size() - 4) : fileName;
}

}  // namespace pondrel
