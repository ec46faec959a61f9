// pondrel-server audit: the audit trail of the patient files, one line per change.

#include <cstdio>

#include "platform/Text.h"
#include "server/ServerCommands.h"
#include "server/SqliteStore.h"

namespace pondrel::server {

int AuditCommand(const Arguments& given) {
    Arguments args = given;
    std::string data;
    std::string file;
    std::string since;
    if (!TakeOption(args, "--data", data) || !TakeOption(args, "--file", file) ||
        !TakeOption(args, "--since", since) || data.empty() || !args.empty()) {
        return 2;
    }
    std::string path;
    if (!PrepareDataFolder(data, path)) return 1;
    std::string error;
    auto store = SqliteStore::Open(path, error);
    if (!store) {
        std::fprintf(stderr, "pondrel-server: cannot open the store %s: %s\n", path.c_str(),
                     error.c_str());
        return 1;
    }
    // A file may be named with or without its extension.
    std::u16string name = FromUtf8(file);
    if (name.size() > 4 &&
        EqualsIgnoreCase(std::u16string_view(name).substr(name.size() - 4), u".pdr")) {
        name.resize(name.size() - 4);
    }
    std::printf("time\tuser\taction\tfile\tcharacters\tsha256\n");
    for (const AuditRow& row : store->Audit(name, since)) {
        std::printf("%s\t%s\t%s\t%s\t%lld\t%s\n", row.at.c_str(), ToUtf8(row.user).c_str(),
                    row.action.c_str(), ToUtf8(row.file).c_str(), static_cast<long long>(row.size),
                    row.sha256.c_str());
    }
    return 0;
}

}  // namespace pondrel::server
