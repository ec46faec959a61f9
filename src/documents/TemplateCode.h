#pragma once

// The codes a user writes into a template with the word processor: "¢" + type + number +
// option letters + "#", for example "¢E2#" (the last name) or "¢LsE20dp#". The word processor
// stores the cent sign as the escape "\'a2" and may break the code with formatting; the code text
// is cleaned before it is read.

#include <optional>
#include <string>
#include <string_view>

namespace pondrel {

struct TemplateCode {
    std::u16string type;  // the characters before the first digit ("E", "LsE", "" for 550...)
    int number = 0;       // the number from the first digit; 0 without digits
    std::u16string options;

    bool Has(char16_t option) const { return options.find(option) != std::u16string::npos; }
};

// The code text as the user typed it, from the bytes between "\'a2" and the end mark: the escapes
// of the characters a code is made of become those characters, ignorable groups ("{\*...}") are
// dropped with their content, every other control word or symbol, the braces, line breaks and
// blanks are removed.
std::u16string NormaliseCodeText(std::string_view rtf);

// Reads a normalised code text. None for an empty text and for one of kMaxCodeText characters or
// more: such a text is not a code and stays in the document.
std::optional<TemplateCode> ParseCode(std::u16string_view codeText);

}  // namespace pondrel
