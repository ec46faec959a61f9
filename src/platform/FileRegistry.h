#pragma once

#include <filesystem>

#include "platform/Registry.h"

namespace pondrel {

// Registry values kept in a UTF-8 text file of the device folder, one value a line:
//     SOFTWARE\Apps\Omblane Pondrel\InstallDir=\Program files\Pondrel
// The part before the last "\" ahead of "=" is the key, the rest up to "=" the value name.
// Keys and names match ignoring case; blank lines and lines starting with "#" are ignored.
class FileRegistry final : public Registry {
public:
    explicit FileRegistry(std::filesystem::path file);

    std::optional<std::u16string> Value(std::u16string_view key,
                                        std::u16string_view name) override;

private:
    std::filesystem::path m_file;
};

}  // namespace pondrel
