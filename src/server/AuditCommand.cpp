// pondrel-server audit: the audit trail of the patient files, one line per change; and
// pondrel-server file delete.

#include <pwd.h>
#include <unistd.h>

#include <cstdio>

#include "platform/Text.h"
#include "server/ServerCommands.h"
#include "server/ServerProtocol.h"
#include "server/ServerStore.h"

namespace pondrel::server {

int AuditCommand(const Arguments& given) {
    Arguments args = given;
    StoreChoice where;
    std::string file;
    std::string since;
    if (!TakeStoreChoice(args, where) || !TakeOption(args, "--file", file) ||
        !TakeOption(args, "--since", since) || !args.empty()) {
        return 2;
    }
    auto store = OpenChosenStore(where);
    if (!store) return 1;
    // A file may be named with or without its extension.
    std::u16string name = FromUtf8(file);
    if (name.size() > 4 &&
        EqualsIgnoreCase(std::u16string_view(name).substr(name.size() - 4), u".pdr")) {
        name.resize(name.size() - 4);
    }
    std::printf("time\tuser\taction\tfile\tcharacters\tsha256\tdetail\n");
    for (const AuditRow& row : store->Audit(name, since)) {
        std::printf("%s\t%s\t%s\t%s\t%lld\t%s\t%s\n", row.at.c_str(), ToUtf8(row.user).c_str(),
                    row.action.c_str(), ToUtf8(row.file).c_str(), static_cast<long long>(row.size),
                    row.sha256.c_str(), ToUtf8(row.detail).c_str());
    }
    return 0;
}

// pondrel-server file delete NAME: deletes a file (active or archived) from the store, with its
// audit row in the name of the account that ran the command ("admin:" and its login name).
int FileCommand(const Arguments& given) {
    Arguments args = given;
    StoreChoice where;
    if (!TakeStoreChoice(args, where) || args.size() != 2 || args[0] != "delete") return 2;
    auto store = OpenChosenStore(where);
    if (!store) return 1;
    std::u16string name = FromUtf8(args[1]);
    if (name.size() > 4 &&
        EqualsIgnoreCase(std::u16string_view(name).substr(name.size() - 4), u".pdr")) {
        name.resize(name.size() - 4);
    }
    const passwd* account = ::getpwuid(::geteuid());
    std::u16string admin = u"admin:" + FromUtf8(account ? account->pw_name : "?");
    switch (store->Delete(admin, name, ServerProtocol::Now())) {
        case StoreResult::Ok:
            std::printf("deleted %s\n", args[1].c_str());
            return 0;
        case StoreResult::Refused:
            std::fprintf(stderr, "pondrel-server: no such file: %s\n", args[1].c_str());
            return 1;
        case StoreResult::Failed:
            break;
    }
    std::fprintf(stderr, "pondrel-server: the store could not delete %s\n", args[1].c_str());
    return 1;
}

}  // namespace pondrel::server
