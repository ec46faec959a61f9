#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "server/ServerCommands.h"
#include "server/SqliteStore.h"

namespace pondrel::server {

bool TakeOption(Arguments& args, const std::string& name, std::string& value) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != name) continue;
        if (i + 1 >= args.size()) return false;
        value = args[i + 1];
        args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
        return true;
    }
    return true;
}

bool PrepareDataFolder(const std::string& folder, std::string& databasePath) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        if (::mkdir(folder.c_str(), 0700) != 0) {
            std::fprintf(stderr, "pondrel-server: cannot create %s: %s\n", folder.c_str(),
                         std::strerror(errno));
            return false;
        }
    }
    databasePath = (fs::path(folder) / SqliteStore::kFileName).string();
    return true;
}

std::unique_ptr<SqliteStore> OpenDataStore(const std::string& folder, bool syncEveryChange) {
    std::string path;
    if (!PrepareDataFolder(folder, path)) return nullptr;
    std::string error;
    auto store = SqliteStore::Open(path, error, syncEveryChange);
    if (!store) {
        std::fprintf(stderr, "pondrel-server: cannot open the store %s: %s\n", path.c_str(),
                     error.c_str());
    }
    return store;
}

}  // namespace pondrel::server
