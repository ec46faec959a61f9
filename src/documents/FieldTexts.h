#pragma once

// The texts a template can take from one record field (value, raw value, caption, label sentence,
// label colon) and the field codes that place them: "E" value, "F" raw value, "L" caption, "LsE"
// label sentence, "L:E" label colon, each with the option letters of TemplateCode.

#include <array>
#include <string>

#include "documents/RtfMarkup.h"
#include "records/PatientRecord.h"

namespace pondrel {

struct Labels;
struct TemplateCode;

struct FieldTexts {
    std::u16string value;  // the text; a bare normal word, "sp" or "ok" becomes a sentence
    std::u16string raw;    // the text as stored
    std::u16string caption;
    std::u16string labelSentence;  // caption + " " + the text starting lower case
    std::u16string labelColon;     // caption + ": " + the text
};

// The field caption as the form shows it, cut before its first "[" (the unit) and right-trimmed.
std::u16string FieldCaption(const Labels& labels, int field);

// The per-field texts of fields 1 to 229, prepared once for a run. `record` and `labels` are
// read when the table is built and not kept.
class FieldTextTable {
public:
    FieldTextTable(const PatientRecord& record, const Labels& labels);

    // Fields 1 to 229; any other number gives empty texts.
    const FieldTexts& Of(int field) const;
    // Field codes 0..229 of any type; options applied.
    RtfMarkup Replace(const TemplateCode& code) const;

private:
    std::array<FieldTexts, kFieldCount> m_fields;
    std::u16string m_normalWord;
};

// Option handling of a value, shared by the field codes: trailing "\r", "\n" and "-" and leading
// "-" removed, "u" (up to the end of the first number), line breaks (", " or paragraphs with "r",
// dash-led paragraphs with "R"; a bullet dash after a line break belongs to the break), "n" (a
// value ending with the normal word or "ok" as a word is omitted) and "p" (one final full stop).
struct ValueResult {
    RtfMarkup markup;
    bool omitted = false;  // "n" found a normal value: no placeholder either
};
ValueResult ApplyValueOptions(std::u16string_view value, const TemplateCode& code,
                              std::u16string_view normalWord);

}  // namespace pondrel
