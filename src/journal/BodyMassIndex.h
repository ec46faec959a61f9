#pragma once

#include <string>
#include <string_view>

namespace pondrel {

// The number a text starts with, as the C library's atof reads it without exponent: leading
// blanks, a sign, digits, a decimal point, digits. 0 when the text starts otherwise.
double LeadingDecimal(std::u16string_view text);

// The body-mass index of field 95 from the weight (field 7) and height (field 8) texts, with
// one decimal ("22.9"); empty unless it is above 8 and below 100. `units` 0 is metric: a weight
// above 600 is in grams, a height below 2.5 in metres; 1 is pounds and inches.
std::u16string ComputeBmi(std::u16string_view weight, std::u16string_view height, int units);

}  // namespace pondrel
