#pragma once

// The commands of pondrel-server, each a function of the arguments after its name. They return
// the exit status: 0 done, 1 refused or failed (one line on standard error says why), 2 wrong
// usage.

#include <memory>
#include <string>
#include <vector>

namespace pondrel::server {

class ServerStore;
class SqliteStore;

using Arguments = std::vector<std::string>;

int ServeCommand(const Arguments& args);
int UserCommand(const Arguments& args);
int AuditCommand(const Arguments& args);
int FileCommand(const Arguments& args);

// Takes "--name VALUE" out of `args`; false when the option is there without its value.
bool TakeOption(Arguments& args, const std::string& name, std::string& value);
// The data folder (created, for its owner only, when missing) and the store's path in it;
// false with a message when it cannot be used.
bool PrepareDataFolder(const std::string& folder, std::string& databasePath);
// The store of the data folder `folder` (prepared as above), opened; null, with one line on
// standard error, when it can not be.
std::unique_ptr<SqliteStore> OpenDataStore(const std::string& folder,
                                           bool syncEveryChange = false);

// Where the store is: a data folder ("--data DIR", SQLite, the default) or a PostgreSQL database
// ("--store postgresql://...") that several servers may share.
struct StoreChoice {
    std::string data;
    std::string address;
};
// Takes the two options out of `args`; false unless exactly one of them is there, well formed.
bool TakeStoreChoice(Arguments& args, StoreChoice& choice);
// The chosen store, opened; null, with one line on standard error, when it can not be.
std::unique_ptr<ServerStore> OpenChosenStore(const StoreChoice& choice,
                                             bool syncEveryChange = false);
// For the log: the database file, or the address without its password.
std::string DescribeStore(const StoreChoice& choice);

}  // namespace pondrel::server
