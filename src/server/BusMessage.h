#pragma once

// One message between server instances, as a notification carries it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pondrel::server {

// The longest frame passed to another instance (a notification carries fewer than 8000 bytes):
// longer than the longest mail or chat line the server relays.
inline constexpr size_t kMaxBusFrameChars = 2600;

// One message between instances, as a notification's payload carries it: its kind, the instance
// that sent it, and its fields (names and frames in base64 of their UTF-16 units, so that any
// unit passes).
struct BusMessage {
    enum class Kind : char {
        Frame = 'T',     // target instance, user, code, frame, keep ("1"/"0")
        Chat = 'C',      // frame
        LoggedIn = 'I',  // user, login number
        LoggedOut = 'O', // user
        Presence = 'P',  // instances came or went: the users online are read again
    };
    BusMessage() = default;
    BusMessage(Kind kindOf, std::string from) : kind(kindOf), instance(std::move(from)) {}

    Kind kind = Kind::Presence;
    std::string instance;
    std::string target;  // Frame only
    std::u16string user;
    std::u16string code;
    std::u16string frame;
    bool keep = false;
    uint64_t login = 0;

    // None when a frame or name is too long to pass.
    std::optional<std::string> Encode() const;
    // None for a payload that is not one (of another program, damaged, or too long).
    static std::optional<BusMessage> Decode(std::string_view payload);
};

}  // namespace pondrel::server
