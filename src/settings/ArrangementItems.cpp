#include "settings/ArrangementItems.h"

#include <optional>
#include <vector>

#include "platform/Text.h"
#include "records/ItemEncoding.h"

namespace pondrel {

namespace {

constexpr size_t kPageItems = 5 * kFormPages - 1;  // no button text for page 0

class ItemCursor {
public:
    ItemCursor(std::u16string_view text, size_t pos) : m_text(text), m_pos(pos) {}

    // The next item, none when the text has no further "¢".
    std::optional<std::u16string_view> Next() {
        if (m_pos > m_text.size()) return std::nullopt;
        size_t stop = m_text.find(kItemEnd, m_pos);
        if (stop == std::u16string_view::npos) {
            ++m_missing;
            return std::nullopt;
        }
        std::u16string_view item = m_text.substr(m_pos, stop - m_pos);
        m_pos = stop + 1;
        return item;
    }
    void Text(std::u16string& target) {
        if (auto item = Next()) target.assign(*item);
    }
    void Int(int& target) {
        if (auto item = Next()) target = ParseInt(*item);
    }
    void RectItem(Rect& target) {
        auto item = Next();
        if (!item) return;
        std::vector<std::u16string> parts = Split(*item, u',');
        if (!parts.empty() && parts.back().empty()) parts.pop_back();  // after a last ","
        int* values[] = {&target.left, &target.top, &target.right, &target.bottom};
        for (size_t i = 0; i < 4 && i < parts.size(); ++i) *values[i] = ParseInt(parts[i]);
    }
    size_t Position() const { return m_pos; }
    size_t Missing() const { return m_missing; }

private:
    std::u16string_view m_text;
    size_t m_pos;
    size_t m_missing = 0;
};

void AppendItem(std::u16string& out, std::u16string_view text) {
    for (char16_t c : text) {
        if (c != kItemEnd) out += c;
    }
    out += kItemEnd;
}

void AppendInt(std::u16string& out, int value) {
    out += ToText(value);
    out += kItemEnd;
}

void AppendRect(std::u16string& out, const Rect& r) {
    out += ToText(r.left) + u"," + ToText(r.top) + u"," + ToText(r.right) + u"," + ToText(r.bottom);
    out += kItemEnd;
}

}  // namespace

size_t ArrangementItemCount(int firstFieldNotStored) {
    size_t fields = 0;
    for (int field = 1; field < kFieldNumbers && field < firstFieldNotStored; ++field) {
        if (HasStoredFieldLayout(field)) ++fields;
    }
    return 3 * fields + kPageItems;
}

void AppendArrangementItems(std::u16string& out, const FieldLayouts& fields,
                            const PageLayouts& pages) {
    for (int field = 1; field < kFieldNumbers; ++field) {
        if (!HasStoredFieldLayout(field)) continue;
        const FieldLayout& layout = fields[static_cast<size_t>(field)];
        AppendRect(out, layout.window);
        AppendRect(out, layout.caption);
        AppendInt(out, layout.layoutValue);
    }
    for (const PageLayout& page : pages) AppendInt(out, page.aFlag);
    for (const PageLayout& page : pages) AppendItem(out, page.fieldList);
    for (const PageLayout& page : pages) AppendItem(out, page.name);
    for (size_t i = 1; i < pages.size(); ++i) AppendItem(out, pages[i].buttonText);
    for (const PageLayout& page : pages) AppendInt(out, page.pFlag);
}

ArrangementItemsRead ReadArrangementItems(std::u16string_view text, size_t begin,
                                          FieldLayouts& fields, PageLayouts& pages,
                                          int firstFieldNotStored) {
    ItemCursor items(text, begin);
    for (int field = 1; field < kFieldNumbers && field < firstFieldNotStored; ++field) {
        if (!HasStoredFieldLayout(field)) continue;
        FieldLayout& layout = fields[static_cast<size_t>(field)];
        items.RectItem(layout.window);
        items.RectItem(layout.caption);
        items.Int(layout.layoutValue);
    }
    for (PageLayout& page : pages) items.Int(page.aFlag);
    for (PageLayout& page : pages) items.Text(page.fieldList);
    for (PageLayout& page : pages) items.Text(page.name);
    for (size_t i = 1; i < pages.size(); ++i) items.Text(pages[i].buttonText);
    for (PageLayout& page : pages) items.Int(page.pFlag);
    return {items.Position(), items.Missing()};
}

void ListArrangement(const FieldLayouts& fields, const PageLayouts& pages,
                     const std::function<void(const std::string&, std::u16string_view)>& line) {
    for (int field = 1; field < kFieldNumbers; ++field) {
        if (!HasStoredFieldLayout(field)) continue;
        const FieldLayout& f = fields[static_cast<size_t>(field)];
        std::u16string numbers;
        for (int value :
             {f.window.left, f.window.top, f.window.right, f.window.bottom, f.caption.left,
              f.caption.top, f.caption.right, f.caption.bottom, f.layoutValue}) {
            if (!numbers.empty()) numbers += u',';
            numbers += ToText(value);
        }
        line("field." + std::to_string(field), numbers);
    }
    for (int page = 0; page < kFormPages; ++page) {
        const PageLayout& l = pages[static_cast<size_t>(page)];
        const std::string prefix = "page." + std::to_string(page);
        line(prefix + ".aFlag", ToText(l.aFlag));
        line(prefix + ".fieldList", l.fieldList);
        line(prefix + ".name", l.name);
        if (page > 0) line(prefix + ".buttonText", l.buttonText);
        line(prefix + ".pFlag", ToText(l.pFlag));
    }
}

}  // namespace pondrel
