#pragma once

// What a frame is, told from its start: a patient-file frame begins with "¢File¢", a code frame
// with its four-character code "#X!#" (X a capital letter), and anything else is a mail. Only
// the start counts: a chat line or a patient text that holds "#N!#" further on stays what its
// start says.

#include <string>
#include <string_view>

namespace pondrel {

enum class FrameKind { Code, File, Mail };

struct FrameView {
    FrameKind kind = FrameKind::Code;
    char16_t code = 0;            // the letter of a code frame; 0 for an empty frame
    std::u16string_view payload;  // after the code, or after "¢File¢"; a mail whole
};

FrameView ClassifyFrame(std::u16string_view frame);

// "#" code "!#" payload.
std::u16string CodeFrame(char16_t code, std::u16string_view payload = {});

}  // namespace pondrel
