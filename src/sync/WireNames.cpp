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

bool IsValidUserName(std::u16string_view name) {
    return name.size() >= kMinUserNameChars && name.size() <= kMaxUserNameChars &&
           !HasReservedInName(name) && name.front() != u' ' && name.back() != u' ';
}

bool IsValidPassword(std::u16string_view password) {
    return !password.empty() && password.size() <= kMaxPasswordChars &&
           !HasReservedInName(password);
}

}  // namespace pondrel
