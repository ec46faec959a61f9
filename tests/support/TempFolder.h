#pragma once

// A folder of a test's own under the system's temporary folder, for tests that need real files.

#include <filesystem>
#include <string>

namespace pondrel::test {

// Made empty on construction ("<prefix>-<process id>-<serial>"), removed with everything in it
// on destruction.
class TempFolder {
public:
    explicit TempFolder(const std::string& prefix);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::filesystem::path& name) const {
        return m_path / name;
    }

private:
    std::filesystem::path m_path;
};

}  // namespace pondrel::test
