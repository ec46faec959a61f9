#include "TempFolder.h"

#include <unistd.h>

#include <system_error>

namespace pondrel::test {

TempFolder::TempFolder(const std::string& prefix) {
    static int serial = 0;
    m_path = std::filesystem::temp_directory_path() /
             (prefix + "-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

}  // namespace pondrel::test
