#include "layout/Arrangement.h"

#include <algorithm>
#include <cstdlib>

#include "platform/Text.h"

namespace pondrel {

namespace {

int Modulo(int value, int divisor) {
    int r = value % divisor;
    return r < 0 ? r + divisor : r;
}

void RemoveFromList(PageLayout& page, int field) {
    std::vector<int> numbers = FieldListNumbers(page.fieldList);
    auto end = std::remove(numbers.begin(), numbers.end(), field);
    if (end == numbers.end()) return;
    numbers.erase(end, numbers.end());
    page.fieldList = FieldListText(numbers);
}

}  // namespace

std::optional<int> PageOfField(const Arrangement& arrangement, int field) {
    if (!IsPlacedByArrangement(field)) return std::nullopt;
    int page = arrangement.fields[static_cast<size_t>(field)].layoutValue;
    if (page < 0 || page >= kFormPages) return std::nullopt;
    return page;
}

std::vector<int> FieldsOnPage(const Arrangement& arrangement, int page) {
    std::vector<int> fields;
    for (int field = 1; field < kFieldNumbers; ++field) {
        if (PageOfField(arrangement, field) == page) fields.push_back(field);
    }
    std::stable_sort(fields.begin(), fields.end(), [&](int a, int b) {
        const Rect ra = InBand(arrangement.fields[static_cast<size_t>(a)].window, page);
        const Rect rb = InBand(arrangement.fields[static_cast<size_t>(b)].window, page);
        // Windows whose tops are within a few pixels stand on one line.
        if (std::abs(ra.top - rb.top) > 4) return ra.top < rb.top;
        return ra.left < rb.left;
    });
    return fields;
}

Rect InBand(const Rect& rect, int page) {
    int top = rect.top - PageTop(page);
    if (top < 0 || top >= kFormPageHeight) {
        top = Modulo(rect.top - kFormFirstPageTop, kFormPageHeight);
    }
    const int height = rect.bottom - rect.top;
    return {rect.left, top, rect.right, top + height};
}

Rect OnPage(const Rect& rect, int page) {
    Rect band = InBand(rect, page);
    return {band.left, band.top + PageTop(page), band.right, band.bottom + PageTop(page)};
}

Rect PlacedRect(const Rect& rect, int minHeight) {
    Rect placed = rect;
    if (placed.right <= placed.left) placed.right = placed.left + 1;
    if (placed.bottom - placed.top < minHeight) placed.bottom = placed.top + minHeight;
    return placed;
}

std::u16string FieldListText(const std::vector<int>& fields) {
    std::u16string text;
    for (int field : fields) {
        text += ToText(field);
        text += u',';
    }
    return text;
}

std::vector<int> FieldListNumbers(std::u16string_view list) {
    std::vector<int> numbers;
    for (const std::u16string& part : Split(list, u',')) {
        std::u16string_view digits = part;
        while (!digits.empty() && digits.front() == u' ') digits.remove_prefix(1);
        while (!digits.empty() && digits.back() == u' ') digits.remove_suffix(1);
        if (digits.empty() || digits.size() > 3) continue;
        if (!std::all_of(digits.begin(), digits.end(),
                         [](char16_t c) { return c >= u'0' && c <= u'9'; })) {
            continue;
        }
        const int field = ParseInt(digits);
        if (field >= 1 && field < kFieldNumbers) numbers.push_back(field);
    }
    return numbers;
}

void MoveFieldToPage(Arrangement& arrangement, int field, int page) {
    if (!IsArrangedField(field) || page < 0 || page >= kFormPages) return;
    FieldLayout& layout = arrangement.fields[static_cast<size_t>(field)];
    layout.window = OnPage(layout.window, page);
    layout.caption = OnPage(layout.caption, page);
    layout.layoutValue = page;
    for (int p = 0; p < kFormPages; ++p) {
        if (p != page) RemoveFromList(arrangement.pages[static_cast<size_t>(p)], field);
    }
    PageLayout& target = arrangement.pages[static_cast<size_t>(page)];
    std::vector<int> numbers = FieldListNumbers(target.fieldList);
    if (std::find(numbers.begin(), numbers.end(), field) == numbers.end()) {
        numbers.push_back(field);
        target.fieldList = FieldListText(numbers);
    }
}

void HideField(Arrangement& arrangement, int field) {
    if (!IsArrangedField(field)) return;
    arrangement.fields[static_cast<size_t>(field)].layoutValue = -1;
    for (PageLayout& page : arrangement.pages) RemoveFromList(page, field);
}

}  // namespace pondrel
