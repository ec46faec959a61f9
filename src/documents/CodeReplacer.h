#pragma once

// What every template code is replaced by: the field codes 0..229 (FieldTexts.h) and the special
// codes 550..567 of the patient, the stay, the problems and the treatments. Numbers 230..549 and
// above 567 are replaced by nothing.

#include "documents/FieldTexts.h"
#include "documents/RtfMarkup.h"

namespace pondrel {

struct TemplateCode;
struct TemplateData;

inline constexpr int kFirstSpecialCode = 550;
inline constexpr int kLastSpecialCode = 567;

class CodeReplacer {
public:
    // `data` must outlive the replacer. The per-field texts are prepared here, once per run.
    explicit CodeReplacer(const TemplateData& data);

    RtfMarkup Replace(const TemplateCode& code) const;

private:
    RtfMarkup Special(int number) const;
    std::u16string PlaceholderOfEmpty(int number) const;

    const TemplateData& m_data;
    FieldTextTable m_fields;
};

}  // namespace pondrel
