#pragma once

#include <string>
#include <string_view>

namespace pondrel {

// Whether a text of field 202 (it may come from a received file) is a bare file name to look for
// in "\My Documents\": not empty, at most 100 characters, no folder separator, drive, control
// character or wildcard, not "." or "..".
bool IsBareFileName(std::u16string_view name);

// The file name of the arrangement named by field 202: the name, with ".wnd" added when it does
// not end with it (ignoring case).
std::u16string ArrangementFileName(std::u16string_view form);

// A file name without its folder: the part after the last "\" or "/".
std::u16string_view FileNameOf(std::u16string_view path);

}  // namespace pondrel
