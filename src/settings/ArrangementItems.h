#pragma once

// The arrangement of the form's field windows as items: items 30 to 35 of the preferences file,
// which are also the whole body of a ".wnd" arrangement file after its version mark. One reader
// and one writer serve both files.

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "settings/Preferences.h"

namespace pondrel {

using FieldLayouts = std::array<FieldLayout, kFieldNumbers>;  // indexed by field number
using PageLayouts = std::array<PageLayout, kFormPages>;

// Field numbers of the current layout go up to 229; older layouts stop before field 202.
inline constexpr int kAllFieldsStored = kFieldNumbers;

// The number of items of an arrangement whose fields from `firstFieldNotStored` on are missing:
// three per field 1 to 229 but 100 to 119, then 19 + 19 + 19 + 18 + 19 page items.
size_t ArrangementItemCount(int firstFieldNotStored = kAllFieldsStored);

// Appends the items: for every field 1 to 229 except 100 to 119 the window rectangle
// "%d,%d,%d,%d", the caption rectangle and the layout value; then the 19 "A" flags, the 19 page
// field lists, the 19 page names, the 18 page button texts (pages 1 to 18) and the 19 "P" flags.
// Each item is followed by "¢"; a "¢" inside a text is left out.
void AppendArrangementItems(std::u16string& out, const FieldLayouts& fields,
                            const PageLayouts& pages);

struct ArrangementItemsRead {
    size_t end = 0;           // position after the last item read
    size_t itemsMissing = 0;  // items the text ended before (0 for a complete arrangement)
};

// Reads the items from `text` (items ended by "¢") from `begin` on into `fields` and `pages`.
// Fields from `firstFieldNotStored` on are not in the text and keep their values; so does every
// value whose item is missing at the end of a cut text. Numbers are read as the C library's atoi
// reads them; a rectangle item with fewer than four numbers keeps the rest.
ArrangementItemsRead ReadArrangementItems(std::u16string_view text, size_t begin,
                                          FieldLayouts& fields, PageLayouts& pages,
                                          int firstFieldNotStored = kAllFieldsStored);

// The readable listing of an arrangement, one `line(name, value)` each: "field.N" with nine
// numbers joined by "," (window, caption, layout value) for every stored field, then for every
// page "page.P.aFlag", "page.P.fieldList", "page.P.name", "page.P.buttonText" (pages 1 to 18)
// and "page.P.pFlag". The caller writes and escapes the lines.
void ListArrangement(const FieldLayouts& fields, const PageLayouts& pages,
                     const std::function<void(const std::string&, std::u16string_view)>& line);

}  // namespace pondrel
