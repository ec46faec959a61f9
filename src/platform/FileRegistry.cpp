#include "platform/FileRegistry.h"

#include <fstream>
#include <sstream>

#include "platform/Text.h"

namespace pondrel {

FileRegistry::FileRegistry(std::filesystem::path file) : m_file(std::move(file)) {}

std::optional<std::u16string> FileRegistry::Value(std::u16string_view key,
                                                  std::u16string_view name) {
    std::ifstream in(m_file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::u16string path = FromUtf8(line.substr(0, equals));
        size_t slash = path.rfind(u'\\');
        if (slash == std::u16string::npos) continue;
        std::u16string_view lineKey = std::u16string_view(path).substr(0, slash);
        while (!lineKey.empty() && lineKey.front() == u'\\') lineKey.remove_prefix(1);
        while (!key.empty() && key.front() == u'\\') key.remove_prefix(1);
        if (EqualsIgnoreCase(lineKey, key) &&
            EqualsIgnoreCase(std::u16string_view(path).substr(slash + 1), name)) {
            return FromUtf8(line.substr(equals + 1));
        }
    }
    return std::nullopt;
}

}  // namespace pondrel
