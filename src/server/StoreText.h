#pragma once

// How the stores keep texts: the 16-bit texts of patient files and frames as little-endian
// bytes, file names matched without regard to ASCII case, the audit trail's digest of a text.

#include <string>
#include <string_view>

namespace pondrel::server {

std::string UnitsToBytes(std::u16string_view units);
// An odd last byte is dropped.
std::u16string BytesToUnits(std::string_view bytes);
// The SHA-256 of the text as UTF-16LE, in hexadecimal.
std::string Sha256Hex(std::u16string_view text);
// The key that matches a file name whatever the case of its ASCII letters (UTF-8).
std::string FileKey(std::u16string_view name);

}  // namespace pondrel::server
