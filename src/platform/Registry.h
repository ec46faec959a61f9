#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pondrel {

// The few registry values the program reads, all under HKEY_LOCAL_MACHINE.
class Registry {
public:
    virtual ~Registry() = default;
    // The text value `name` of `key` (e.g. "SOFTWARE\Apps\Omblane Pondrel", "InstallDir"); none
    // when the key or the value does not exist.
    virtual std::optional<std::u16string> Value(std::u16string_view key,
                                                std::u16string_view name) = 0;
};

}  // namespace pondrel
