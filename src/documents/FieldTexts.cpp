#include "documents/FieldTexts.h"

#include <vector>

#include "documents/SummaryText.h"
#include "documents/TemplateCode.h"
#include "labels/Labels.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

constexpr std::u16string_view kOk = u"ok";
constexpr std::u16string_view kSp = u"sp";
constexpr int kNormalWordLabel = 34;

bool IsUpper(char16_t c) {
    return FoldCase(c) != c;
}
bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
// Letters and digits: a word that ends with "ok" (Facebook) does not end with the word "ok".
bool IsWordCharacter(char16_t c) {
    return IsDigit(c) || FoldCase(c) != c || (c >= u'a' && c <= u'z') ||
           (c >= 0xDF && c <= 0xFF && c != 0xF7) || (c >= 0x100 && c <= 0x17F);
}

bool IsBareWord(std::u16string_view text, std::u16string_view normalWord) {
    return (!normalWord.empty() && EqualsIgnoreCase(text, normalWord)) ||
           EqualsIgnoreCase(text, kOk) || EqualsIgnoreCase(text, kSp);
}

bool EndsWithWord(std::u16string_view text, std::u16string_view word) {
    if (word.empty() || text.size() < word.size()) return false;
    const size_t at = text.size() - word.size();
    if (!EqualsIgnoreCase(text.substr(at), word)) return false;
    return at == 0 || !IsWordCharacter(text[at - 1]);
}

std::u16string TrimValue(std::u16string_view value) {
    size_t end = value.size();
    while (end > 0 &&
           (value[end - 1] == u'\r' || value[end - 1] == u'\n' || value[end - 1] == u'-')) {
        --end;
    }
    size_t begin = 0;
    while (begin < end && value[begin] == u'-') ++begin;
    return std::u16string(value.substr(begin, end - begin));
}

// "u": the text up to the end of its first number (its first digit and the digits, points and
// commas after it); a text without digits stays whole.
std::u16string FirstNumberPart(std::u16string_view text) {
    size_t k = 0;
    while (k < text.size() && !IsDigit(text[k])) ++k;
    if (k == text.size()) return std::u16string(text);
    while (k < text.size() && (IsDigit(text[k]) || text[k] == u'.' || text[k] == u',')) ++k;
    return std::u16string(text.substr(0, k));
}

// Lines of a value: "\r\n", a lone "\r" or "\n" each end a line; the bullet dash that starts a
// following line belongs to the break.
std::vector<std::u16string> ValueLines(std::u16string_view text) {
    std::vector<std::u16string> lines(1);
    for (size_t k = 0; k < text.size(); ++k) {
        const char16_t c = text[k];
        if (c != u'\r' && c != u'\n') {
            lines.back() += c;
            continue;
        }
        if (c == u'\r' && k + 1 < text.size() && text[k + 1] == u'\n') ++k;
        lines.emplace_back();
        if (k + 1 < text.size() && text[k + 1] == u'-') ++k;
    }
    return lines;
}

std::u16string Joined(const std::vector<std::u16string>& lines, std::u16string_view separator) {
    std::u16string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) out += separator;
        out += lines[i];
    }
    return out;
}

void EndWithFullStop(std::u16string& text) {
    while (!text.empty() && (text.back() == u' ' || text.back() == u'.')) text.pop_back();
    text += u'.';
}

std::u16string LabelSentence(const std::u16string& caption, const std::u16string& raw) {
    std::u16string text = raw;
    const bool keep = text.size() > 1 && (IsUpper(text[1]) || text[1] == u' ');
    if (!keep && !text.empty()) text[0] = FoldCase(text[0]);
    return caption + u" " + text;
}

}  // namespace

std::u16string FieldCaption(const Labels& labels, int field) {
    std::u16string_view caption = labels.Caption(field);
    caption = caption.substr(0, caption.find(u'['));
    return TrimRightSpaces(caption);
}

FieldTextTable::FieldTextTable(const PatientRecord& record, const Labels& labels)
    : m_normalWord(labels.Label(kNormalWordLabel)) {
    for (int n = 1; n < kFieldCount; ++n) {
        FieldTexts& texts = m_fields[static_cast<size_t>(n)];
        texts.raw = record.Field(n);
        texts.caption = FieldCaption(labels, n);
        texts.value = texts.raw;
        if (texts.raw.empty()) continue;
        texts.labelSentence = LabelSentence(texts.caption, texts.raw);
        texts.labelColon = texts.caption + u": " + texts.raw;
        if (IsBareWord(texts.raw, m_normalWord)) {
            texts.value =
                RewriteEachUntilStable(RemoveAll(texts.labelSentence, u':'), {{u"  ", u" "}});
        }
    }
}

const FieldTexts& FieldTextTable::Of(int field) const {
    static const FieldTexts kNone;
    if (field < 1 || field >= kFieldCount) return kNone;
    return m_fields[static_cast<size_t>(field)];
}

ValueResult ApplyValueOptions(std::u16string_view value, const TemplateCode& code,
                              std::u16string_view normalWord) {
    std::u16string text = TrimValue(value);
    if (code.Has(u'u')) text = FirstNumberPart(text);
    std::vector<std::u16string> lines = ValueLines(text);
    if (code.Has(u'n')) {
        // The test runs before "p" adds its full stop, so that "np" still omits a normal value.
        const std::u16string flat = TrimRightSpaces(Joined(lines, u", "));
        if (EndsWithWord(flat, normalWord) || EndsWithWord(flat, kOk)) return {{}, true};
    }
    ValueResult result;
    if (text.empty()) return result;
    if (code.Has(u'p')) EndWithFullStop(lines.back());
    const bool dashes = code.Has(u'R');
    if (!dashes && !code.Has(u'r')) {
        result.markup.Text(Joined(lines, u", "));
        return result;
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) result.markup.Paragraph();
        if (dashes) result.markup.Text(u"-");
        result.markup.Text(lines[i]);
    }
    return result;
}

RtfMarkup FieldTextTable::Replace(const TemplateCode& code) const {
    const FieldTexts& field = Of(code.number);
    std::u16string_view text;
    std::u16string placeholder;
    bool omittable = true;
    if (code.type == u"E") {
        text = field.value;
        placeholder = u"<" + field.caption + u">";
    } else if (code.type == u"F") {
        text = field.raw;
        placeholder = u"<" + field.caption + u">";
    } else if (code.type == u"L") {
        text = field.caption;
        omittable = false;
    } else if (code.type == u"LsE") {
        text = field.labelSentence;
        placeholder = field.caption;
    } else if (code.type == u"L:E") {
        text = field.labelColon;
        placeholder = field.caption + u": ";
    } else {
        return {};
    }
    TemplateCode options = code;
    if (!omittable) std::erase(options.options, u'n');
    ValueResult result = ApplyValueOptions(text, options, m_normalWord);
    if (result.markup.Empty() && !result.omitted && code.Has(u'd') && !placeholder.empty()) {
        result.markup.Text(placeholder);
    }
    return result.markup;
}

}  // namespace pondrel
