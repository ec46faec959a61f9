#pragma once

// Filling an RTF template: every code of the template is replaced from the open patient's record
// (CodeReplacer.h), the document gets its clean-up and is returned as the bytes to write.
//
// The template's bytes come out as they went in, apart from the codes and the clean-up: the
// engine never reads them through a code page. Replacement texts are escaped, so a record text
// can neither close a group nor start a control word; a replacement that opens and closes
// groups of its own is given a group when it stands at the top level of the document, and the
// braces a code was broken with by the word processor are kept, so the document's groups stay
// as the template had them.

#include <optional>
#include <string>
#include <string_view>

namespace pondrel {

class DeviceFileSystem;
struct TemplateData;

enum class TemplateFailure {
    None,
    NotFound,      // the template cannot be opened
    TooBig,        // the bytes read reach the document's limit
    Damaged,       // an RTF template whose groups do not close (a cut or damaged file)
    ResultTooBig,  // the filled document would reach kTemplateResultLimit bytes
};

struct TemplateFill {
    std::string bytes;
    int codes = 0;                // codes replaced
    bool unfinishedCode = false;  // a code start without its closing "#" was left as it stands
    TemplateFailure failure = TemplateFailure::None;

    bool Ok() const { return failure == TemplateFailure::None; }
};

// Fills template bytes (already read within their limit).
TemplateFill FillTemplateBytes(std::string_view templateBytes, const TemplateData& data);

// Reads the template at `path` (a device path) with one read of at most kTemplateReadBytes and
// fills it. `sizeLimit` is the document's limit: a template of that many bytes or more is
// refused as too big.
TemplateFill FillTemplate(DeviceFileSystem& files, std::u16string_view path, size_t sizeLimit,
                          const TemplateData& data);

// The clean-up of a filled document, in place (punctuation left by empty codes, repeated blanks;
// kept blanks become blanks). Control words whose delimiting blank became a full stop or a comma
// get their blank back.
void CleanUpDocument(std::u16string& text);

// True when `bytes` start an RTF document ("{" first): such templates must have balanced groups.
bool IsRtf(std::string_view bytes);
// True when every group of an RTF text is closed and no "}" closes more than it opened (escaped
// braces and the data of \bin are skipped).
bool GroupsBalanced(std::string_view rtf);

}  // namespace pondrel
