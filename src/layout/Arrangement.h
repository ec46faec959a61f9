#pragma once

// The arrangement of the field windows on the form pages 0 to 18, with the geometry of the form
// it is expressed in. The arrangement in force comes from a ".wnd" file (the patient's own, the
// installation's default or its initial one) and is also kept in the preferences file.

#include <optional>
#include <string>
#include <vector>

#include "settings/ArrangementItems.h"

namespace pondrel {

struct Arrangement {
    FieldLayouts fields{};  // indexed by field number; 0 and 100 to 119 unused
    PageLayouts pages{};
    friend bool operator==(const Arrangement&, const Arrangement&) = default;
};

// The form: a tall window of 240-pixel-wide page bands of 290 pixels; band p starts at
// 291 + 290 × p. Rectangles of the arrangement are in form coordinates: their tops and bottoms
// count from the top of the form, so a window of page 3 has its top between 1161 and 1451.
inline constexpr int kFormWidth = 240;
inline constexpr int kFormFirstPageTop = 291;
inline constexpr int kFormPageHeight = 290;
inline constexpr int kFormPageCount = kFormPages;  // pages 0 to 18 hold field windows

// Heights the windows and captions are given at least when they are placed.
inline constexpr int kMinWindowHeight = 17;
inline constexpr int kMinCaptionHeight = 12;
// A window this high or higher is a multi-line edit with a scroll bar; a lower one a one-line
// edit.
inline constexpr int kMultiLineHeight = 32;

constexpr int PageTop(int page) {
    return kFormFirstPageTop + kFormPageHeight * page;
}

// The free fields 100 to 119 lie on pages 28 and 29; their rectangles count from a reference line
// 20 pixels below the top of page 28 (under the page's title and tool row).
inline constexpr int kFirstFreeFieldPage = 28;
inline constexpr int kFreeFieldReference = PageTop(kFirstFreeFieldPage) + 20;

// Whether the arrangement stores a layout for the field: 1 to 229 except the free fields 100
// to 119, which have their own layout.
constexpr bool IsArrangedField(int field) {
    return HasStoredFieldLayout(field);
}

// Whether the arrangement places and shows the field's window on the form pages: not the
// working copies of the problem panel (86 to 93), not the free fields, the identity page and
// "Send" (100 to 140), which have pages of their own.
constexpr bool IsPlacedByArrangement(int field) {
    return IsArrangedField(field) && !(field >= 86 && field <= 93) &&
           !(field >= 100 && field <= 140);
}

// The page of a field's window (0 to 18), none when it is hidden or not placed.
std::optional<int> PageOfField(const Arrangement& arrangement, int field);

// The fields whose windows stand on `page`, in reading order: top to bottom, then left to right
// (the order Tab follows).
std::vector<int> FieldsOnPage(const Arrangement& arrangement, int page);

// A rectangle moved to the same place of another page band; a rectangle outside every band keeps
// its place within a band (its top taken modulo the band height).
Rect OnPage(const Rect& rect, int page);
// A rectangle in coordinates of its page band (top 0 is the band's top).
Rect InBand(const Rect& rect, int page);

// The rectangle a window or caption is given when placed: at least `minHeight` high and never
// narrower than 1 pixel.
Rect PlacedRect(const Rect& rect, int minHeight);

// "12,13,14," style field list of a page, and its numbers (numbers outside 1 to 229 and anything
// that is not a number are left out).
std::u16string FieldListText(const std::vector<int>& fields);
std::vector<int> FieldListNumbers(std::u16string_view list);

// Puts field `field` on page `page` (its rectangles moved to that band) and keeps the page
// field lists in step: the field leaves the list of every other page and joins this page's.
void MoveFieldToPage(Arrangement& arrangement, int field, int page);
// Hides the window (layout value -1) and takes the field out of the page lists.
void HideField(Arrangement& arrangement, int field);

}  // namespace pondrel
