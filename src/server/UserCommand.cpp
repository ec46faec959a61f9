// pondrel-server user add|remove|list: the accounts of the server. The password is read from
// standard input (never from the command line, where other users could see it).

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "platform/Text.h"
#include "server/Passwords.h"
#include "server/ServerCommands.h"
#include "server/ServerStore.h"
#include "sync/WireNames.h"

namespace pondrel::server {

namespace {

// One line of standard input, without its line end; on a terminal without echo.
bool ReadSecretLine(const char* prompt, std::string& line) {
    bool terminal = ::isatty(STDIN_FILENO);
    termios saved{};
    if (terminal) {
        std::fputs(prompt, stderr);
        std::fflush(stderr);
        ::tcgetattr(STDIN_FILENO, &saved);
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    bool ok = static_cast<bool>(std::getline(std::cin, line));
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
        std::fputs("\n", stderr);
    }
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return ok;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "pondrel-server: %s\n", message.c_str());
    return 1;
}

}  // namespace

int UserCommand(const Arguments& given) {
    Arguments args = given;
    StoreChoice where;
    if (!TakeStoreChoice(args, where) || args.empty()) return 2;
    const std::string action = args[0];
    if ((action == "list" && args.size() != 1) || (action != "list" && args.size() != 2)) return 2;
    if (action != "add" && action != "remove" && action != "list") return 2;

    auto store = OpenChosenStore(where);
    if (!store) return 1;

    if (action == "list") {
        for (const std::u16string& name : store->Users()) std::printf("%s\n", ToUtf8(name).c_str());
        return 0;
    }
    std::u16string name = FromUtf8(args[1]);
    if (action == "remove") {
        switch (store->RemoveUser(name)) {
            case StoreResult::Ok:
                std::printf("removed %s\n", args[1].c_str());
                return 0;
            case StoreResult::Refused:
                return Fail("no such user: " + args[1]);
            case StoreResult::Failed:
                return Fail("the store could not remove " + args[1]);
        }
    }
    if (!IsValidUserName(name)) {
        return Fail(
            "a user name has 4 to 32 characters, no blank at either end and none of "
            "| # / < > \u00A2 \u00A6 \u00A7 \u00AC");
    }
    std::string password;
    if (!ReadSecretLine("Password: ", password)) return Fail("no password on standard input");
    if (::isatty(STDIN_FILENO)) {
        std::string again;
        if (!ReadSecretLine("Password again: ", again) || again != password) {
            return Fail("the two passwords differ");
        }
    }
    std::u16string secret = FromUtf8(password);
    std::fill(password.begin(), password.end(), '\0');
    if (!IsValidPassword(secret)) {
        return Fail(
            "the program sends passwords of 1 to 6 characters, none of "
            "| # / < > \u00A2 \u00A6 \u00A7 \u00AC");
    }
    if (!StartPasswords()) return Fail("libsodium cannot start");
    std::optional<std::string> hash = HashPassword(secret);
    std::fill(secret.begin(), secret.end(), u'\0');
    if (!hash) return Fail("the password could not be hashed");
    bool known = store->PasswordHash(name).has_value();
    if (!store->SetUser(name, *hash)) return Fail("the store could not keep " + args[1]);
    std::printf("%s %s\n", known ? "changed the password of" : "added", args[1].c_str());
    return 0;
}

}  // namespace pondrel::server
