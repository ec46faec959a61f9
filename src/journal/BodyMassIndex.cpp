#include "journal/BodyMassIndex.h"

#include <charconv>
#include <cmath>

#include "platform/Text.h"

namespace pondrel {

double LeadingDecimal(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    std::string ascii;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        ascii += static_cast<char>(text[i++]);
    bool point = false;
    // Sixteen significant characters are plenty for a weight or a height.
    while (i < text.size() && ascii.size() < 16) {
        const char16_t c = text[i];
        if (c >= u'0' && c <= u'9') {
            ascii += static_cast<char>(c);
        } else if (c == u'.' && !point) {
            point = true;
            ascii += '.';
        } else {
            break;
        }
        ++i;
    }
    double value = 0;
    const char* begin = ascii.data();
    if (!ascii.empty() && ascii.front() == '+') ++begin;
    std::from_chars(begin, ascii.data() + ascii.size(), value);
    return value;
}

std::u16string ComputeBmi(std::u16string_view weight, std::u16string_view height, int units) {
    double w = LeadingDecimal(weight);
    double h = LeadingDecimal(height);
    double bmi = 0;
    if (units == 1) {
        if (w > 0 && h > 0) bmi = w * 704.5 / (h * h);
    } else {
        if (w > 600) w *= 0.001;
        if (h < 2.5) h *= 100;
        if (w > 0 && h > 0) bmi = w / ((h * 0.01) * (h * 0.01));
    }
    if (!(bmi > 8 && bmi < 100)) return {};
    char buffer[16];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, bmi, std::chars_format::fixed, 1);
    return FromUtf8(std::string_view(buffer, static_cast<size_t>(result.ptr - buffer)));
}

}  // namespace pondrel
