// pondrel-server: the synchronisation server of Pondrel, and the commands that manage its users
// and show its audit trail.

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "server/ServerCommands.h"

namespace {

const char kUsage[] =
    "usage: pondrel-server serve --data DIR [--listen ADDR] [--port PORT]\n"
    "                            [--keep-alive SECONDS] [--idle SECONDS] [--timeout SECONDS]\n"
    "                            [--max-connections N] [--max-per-address N] [--durable]\n"
    "                            [--checks-per-address N] [--store-connections N]\n"
    "                            [--tls-cert FILE --tls-key FILE]\n"
    "       pondrel-server user add NAME --data DIR      (password read from standard input)\n"
    "       pondrel-server user remove NAME --data DIR\n"
    "       pondrel-server user list --data DIR\n"
    "       pondrel-server audit --data DIR [--file NAME] [--since YYYY-MM-DD]\n"
    "       pondrel-server file delete NAME --data DIR   (a running server drops it too)\n"
    "       pondrel-server --version\n"
    "Each command takes --store postgresql://... (a PostgreSQL database that several servers\n"
    "may share) in place of --data DIR.\n";

}  // namespace

int main(int argc, char** argv) {
    ::umask(077);  // the store holds patient files and password hashes: for its owner only
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("pondrel-server %s\n", PONDREL_VERSION_TEXT);
        return 0;
    }
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    std::string command = argv[1];
    pondrel::server::Arguments args(argv + 2, argv + argc);
    int status = 2;
    if (command == "serve") {
        status = pondrel::server::ServeCommand(args);
    } else if (command == "user") {
        status = pondrel::server::UserCommand(args);
    } else if (command == "file") {
        status = pondrel::server::FileCommand(args);
    } else if (command == "audit") {
        status = pondrel::server::AuditCommand(args);
    }
    if (status == 2) std::fputs(kUsage, stderr);
    return status;
}
