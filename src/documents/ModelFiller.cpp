#include "documents/ModelFiller.h"

#include "documents/RtfFormat.h"
#include "platform/DeviceFileSystem.h"
#include "platform/Text.h"

namespace pondrel {

std::optional<std::u16string> ReadModel(DeviceFileSystem& files, std::u16string_view path,
                                        size_t maxBytes) {
    std::string bytes;
    if (!files.ReadFile(path, maxBytes, bytes)) return std::nullopt;
    std::u16string text;
    text.reserve(bytes.size());
    for (char c : bytes) text += static_cast<char16_t>(static_cast<unsigned char>(c));
    return text;
}

std::u16string FillModel(std::u16string_view model, std::span<const ModelValue> values) {
    std::u16string text(model);
    for (const ModelValue& value : values) {
        // The escaped value is plain ASCII: it can hold no placeholder and no marker.
        text = ReplaceAll(text, value.placeholder, value.value.Escaped());
    }
    return text;
}

std::optional<std::string> ModelDocumentBytes(std::u16string_view text) {
    if (text.size() >= kModelDocumentLimit) return std::nullopt;
    std::string bytes;
    bytes.reserve(text.size());
    for (char16_t c : text) {
        if (c == kModelBackslash) {
            bytes += '\\';
        } else if (c == kKeptBlank) {
            bytes += ' ';
        } else {
            bytes += static_cast<char>(c & 0xFF);
        }
    }
    return bytes;
}

}  // namespace pondrel
