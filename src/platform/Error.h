#pragma once

#include <string>

namespace pondrel {

enum class ErrorKind {
    None,
    NotFound,      // the file or folder does not exist
    CannotOpen,    // it exists but cannot be opened or created
    ReadFailed,
    WriteFailed,
    TooBig,        // larger than the limit allowed for its kind
    Damaged,       // the content does not have the expected shape
    Refused,       // the operation was refused (invalid name, newer version...)
};

// The failure of a core operation: what went wrong and a short text for the user or the log.
struct Error {
    ErrorKind kind = ErrorKind::None;
    std::string message;

    static void Set(Error* error, ErrorKind kind, std::string message) {
        if (error) {
            error->kind = kind;
            error->message = std::move(message);
        }
    }
};

}  // namespace pondrel
