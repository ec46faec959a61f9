#pragma once

#include <string>
#include <string_view>

namespace pondrel {

enum class LabelsLayout {
    Current,     // header 40 (or a later number)
    Version300,  // a header number below 40: 3.00, or a header lost or mangled
    Version230,  // header "2.30"
    Before230,   // header starting with "2" other than "2.30", or longer than six characters
    NotLabels,   // no field record at all: not a labels file
};

// The layout of a decoded labels text, from its header (the characters before the first "#").
LabelsLayout DetectLabelsLayout(std::u16string_view text);

// Brings a text of an older layout to the current one: the header becomes "40" and the field
// records each newer layout added are appended after the last record present ("Send 2" for
// field 140; "Window 1" to "Window 59", "Chart N°" and "Chart 2" for 141 to 201; "Formulary"
// with its list and "Window 61" to "Window 87" for 202 to 229). Records already present are never
// added twice and nothing the text holds is removed or changed but the header. A current or
// unrecognised text is returned unchanged.
std::u16string ConvertLabelsText(std::u16string_view text);

// The record an older layout lacks for field n, as the conversion writes it: "##" + caption +
// "##" + shortcut list (without the number).
std::u16string AddedFieldRecord(int field);

}  // namespace pondrel
