#include "layout/FormName.h"

#include "layout/ArrangementFormat.h"
#include "platform/Text.h"

namespace pondrel {

namespace {
constexpr size_t kMaxNameLength = 100;
constexpr std::u16string_view kRefused = u"\\/:*?\"<>|";
}  // namespace

bool IsBareFileName(std::u16string_view name) {
    if (name.empty() || name.size() > kMaxNameLength || name == u"." || name == u"..") {
        return false;
    }
    for (char16_t c : name) {
        if (c < 0x20 || kRefused.find(c) != std::u16string_view::npos) return false;
    }
    return true;
}

std::u16string ArrangementFileName(std::u16string_view form) {
    std::u16string name(form);
    const std::u16string_view extension = arrangement_format::kExtension;
    if (name.size() < extension.size() ||
        !EqualsIgnoreCase(std::u16string_view(name).substr(name.size() - extension.size()),
                          extension)) {
        name += extension;
    }
    return name;
}

std::u16string_view FileNameOf(std::u16string_view path) {
    const size_t slash = path.find_last_of(u"\\/");
    return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace pondrel
