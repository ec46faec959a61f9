#pragma once

// The model files (.pdt) of the summary documents: RTF stored with every backslash as the byte
// 0xAC, read one character per byte, filled by replacing literal placeholders ("XX1XX", "YY2YY",
// ...) with escaped values, and written back with the marker as a backslash. Model text is
// otherwise copied unchanged; no template code is recognised in a model.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "documents/RtfMarkup.h"

namespace pondrel {

class DeviceFileSystem;

struct ModelValue {
    std::u16string_view placeholder;
    RtfMarkup value;  // escaped when it is put into the model
};

// Reads a model with one read of at most `maxBytes` (kModelReadBytes, or kRowModelReadBytes for
// the row models); one character per byte. None when the file cannot be opened.
std::optional<std::u16string> ReadModel(DeviceFileSystem& files, std::u16string_view path,
                                        size_t maxBytes);

// Replaces every occurrence of each placeholder by its escaped value, in the order given.
std::u16string FillModel(std::u16string_view model, std::span<const ModelValue> values);

// The bytes of a document made from models: the marker 0xAC gives "\", kept blanks give " ",
// every other character its byte. None for a text of kModelDocumentLimit characters or more,
// which is not written.
std::optional<std::string> ModelDocumentBytes(std::u16string_view text);

}  // namespace pondrel
