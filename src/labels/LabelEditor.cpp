#include "labels/LabelEditor.h"

#include <algorithm>
#include <iterator>
#include <type_traits>

#include "labels/ShortcutItems.h"
#include "platform/Text.h"

namespace pondrel {

namespace {

constexpr std::u16string_view kBackSuffix = u" (b)";
constexpr int kNewMenuCount = 3;
constexpr size_t kMaxWordsExamined = 100;
constexpr size_t kIndent = 6;

constexpr std::u16string_view kExists =
    u"This shortcut already exist. Rename it or insert a version tag.";

LabelEditor::Result Refuse(std::u16string_view text, std::u16string_view caption) {
    return {std::u16string(text), std::u16string(caption)};
}

struct TagDefinition {
    std::u16string_view row;
    std::u16string_view token;
    bool atCaret;
};

constexpr TagDefinition kTags[] = {
    {u"<-             : Return", u"<-", false},
    {u"<---           : Tab-return 1", u"<---", false},
    {u"<==         : Tab-return 2", u"<==", false},
    {u" &             : In-Line return 1", u" & ", true},
    {u" &-            : In-Line return 2", u" &- ", true},
    {u"- Clear -     : Clear selection", u"- Clear -", false},
    {u"- Clear all - : Clear all", u"- Clear all -", false},
    {u"- Back -      : Back space", u"- Back -", false},
    {u"- Space -     : Space", u"- Space -", false},
    {u"((1))           : version 1", u"((1))", true},
    {u"((2))           : version 2", u"((2))", true},
    {u"((3))           : version 3", u"((3))", true},
    {u"((4))           : version 4", u"((4))", true},
    {u"((5))           : version 5", u"((5))", true},
    {u"- Undo -     : Undo", u"- Undo -", false},
    {u"- Cut -        : Cut", u"- Cut -", false},
    {u"- Copy -      : Copy", u"- Copy -", false},
    {u"- Paste -      : Paste", u"- Paste -", false},
    {u"- Close -      : Close list", u"- Close -", false},
    {u"< * >         : Comment", u"*", true},
};

}  // namespace

LabelEditor::LabelEditor(std::u16string_view shortcutList) {
    for (std::u16string_view item : ShortcutItems(shortcutList)) {
        if (item.empty()) break;  // an empty item ends the list
        m_items.emplace_back(item);
    }
}

std::u16string LabelEditor::List() const {
    std::u16string list;
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (i > 0) list += u'|';
        list += m_items[i];
    }
    return list + u"||";
}

bool LabelEditor::IsHeader(size_t item) const {
    return item < m_items.size() && ParseMenuHeader(m_items[item]).has_value();
}

int LabelEditor::ClaimedCount(size_t header) const {
    auto parsed = ParseMenuHeader(m_items[header]);
    if (!parsed) return 0;
    int claimed = 0;
    for (size_t i = header + 1; i < m_items.size() && claimed < parsed->count && !IsHeader(i);
         ++i) {
        ++claimed;
    }
    return claimed;
}

std::optional<size_t> LabelEditor::MenuOf(size_t item) const {
    if (IsHeader(item)) return std::nullopt;
    for (size_t h = item; h-- > 0;) {
        if (!IsHeader(h)) continue;
        if (item - h <= static_cast<size_t>(ClaimedCount(h))) return h;
        return std::nullopt;
    }
    return std::nullopt;
}

std::pair<size_t, size_t> LabelEditor::UnitOf(size_t item) const {
    if (IsHeader(item)) return {item, item + 1 + static_cast<size_t>(ClaimedCount(item))};
    return {item, item + 1};
}

std::vector<LabelEditor::Row> LabelEditor::Rows() const {
    std::vector<Row> rows;
    rows.reserve(m_items.size());
    int claimed = 0;
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (auto header = ParseMenuHeader(m_items[i])) {
            rows.push_back({RowKind::Header,
                            u"----- " + std::u16string(header->title) + u" ----- {" +
                                ToText(header->count) + u"}",
                            header->count});
            claimed = ClaimedCount(i);
        } else if (claimed > 0) {
            rows.push_back({RowKind::Indented, std::u16string(kIndent, u' ') + m_items[i], 0});
            --claimed;
        } else {
            rows.push_back({RowKind::Plain, m_items[i], 0});
        }
    }
    return rows;
}

void LabelEditor::Select(std::optional<int> row) {
    if (row && (*row < 0 || static_cast<size_t>(*row) >= m_items.size())) row.reset();
    m_selected = row;
}

LabelEditor::Selection LabelEditor::SelectionState() const {
    Selection state;
    state.menuButtonEnabled = true;
    if (!m_selected) return state;
    const auto item = static_cast<size_t>(*m_selected);
    if (auto header = ParseMenuHeader(m_items[item])) {
        state.text = std::u16string(header->title);
        state.count = header->count;
        state.menuOff = true;
        state.backEnabled = true;
    } else {
        state.text = m_items[item];
        state.menuButtonEnabled = !MenuOf(item).has_value();
    }
    return state;
}

bool LabelEditor::IsRefusedCharacter(char16_t c) {
    return c == u'\u00A2' || c == u'{' || c == u'}' || c == u'|' || c == u'\u00A6' ||
           c == u'\u00A7' || c == u'\u00AC' || c == u'#';
}

std::u16string LabelEditor::Clean(std::u16string_view text) {
    std::u16string clean;
    for (char16_t c : text) {
        // Line breaks and other control characters have no place in a one-line item.
        if (!IsRefusedCharacter(c) && c >= 0x20) clean += c;
    }
    return clean;
}

bool LabelEditor::Exists(std::u16string_view text, std::optional<size_t> except) const {
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (except && *except == i) continue;
        auto header = ParseMenuHeader(m_items[i]);
        if ((header ? header->title : std::u16string_view(m_items[i])) == text) return true;
    }
    return false;
}

LabelEditor::Result LabelEditor::Add(std::u16string_view text) {
    constexpr std::u16string_view kCaption = u"Add shortcut";
    const std::u16string item = Clean(text);
    if (item.empty()) return Refuse(u"Insert before the label to add !", kCaption);
    if (Exists(item, std::nullopt)) return Refuse(kExists, kCaption);
    if (!m_selected) {
        m_items.push_back(item);
        m_selected = static_cast<int>(m_items.size()) - 1;
        return {};
    }
    const auto at = static_cast<size_t>(*m_selected);
    if (IsHeader(at)) return Refuse(u"Can't insert the shortcut here. Try one line below.", kCaption);
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(at) + 1, item);
    m_selected = *m_selected + 1;
    return {};
}

LabelEditor::Result LabelEditor::Delete() {
    if (!m_selected) return Refuse(u"Select the label into the box to delete !", u"Delete label");
    m_items.erase(m_items.begin() + *m_selected);
    m_selected.reset();
    return {};
}

LabelEditor::Result LabelEditor::Rename(std::u16string_view text, int count) {
    constexpr std::u16string_view kCaption = u"Rename label";
    if (!m_selected) return Refuse(u"Select the label into the box to rename !", kCaption);
    const std::u16string name = Clean(text);
    if (name.empty()) return Refuse(u"The text is empty !", kCaption);
    const auto at = static_cast<size_t>(*m_selected);
    // The row itself does not count: a header keeps its title while its count changes.
    if (Exists(name, at)) return Refuse(kExists, kCaption);
    m_items[at] = IsHeader(at) ? MakeMenuHeader(std::max(count, 0), name) : name;
    return {};
}

LabelEditor::Result LabelEditor::MoveUp(int rows) {
    return Move(rows, true);
}

LabelEditor::Result LabelEditor::MoveDown(int rows) {
    return Move(rows, false);
}

LabelEditor::Result LabelEditor::Move(int rows, bool up) {
    const std::u16string_view caption = up ? u"Move up" : u"Move down";
    if (!m_selected) return Refuse(u"Select before the label to move!", caption);
    const auto item = static_cast<size_t>(*m_selected);
    const size_t step = static_cast<size_t>(std::max(rows, 1));
    constexpr std::u16string_view kAlreadyUp = u"The shortcut is already up!";
    constexpr std::u16string_view kAlreadyDown = u"The shortcut is already down!";

    // An item of a menu moves among the items of its menu: leaving it would make the menu take
    // another item in its place.
    if (auto menu = MenuOf(item)) {
        const size_t first = *menu + 1;
        const size_t last = *menu + static_cast<size_t>(ClaimedCount(*menu));
        if (up ? item == first : item == last) return Refuse(up ? kAlreadyUp : kAlreadyDown, caption);
        const size_t target = up ? std::max(first, item - std::min(step, item)) : std::min(last, item + step);
        std::u16string moved = std::move(m_items[item]);
        m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(item));
        m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(target), std::move(moved));
        m_selected = static_cast<int>(target);
        return {};
    }

    // A plain item, or a header with its items, moves past whole units: never between a
    // header and its items.
    // Plain names rather than a structured binding: a lambda below captures them.
    const auto itemUnit = UnitOf(item);
    const size_t begin = itemUnit.first;
    const size_t end = itemUnit.second;
    if (up && begin == 0) return Refuse(kAlreadyUp, caption);
    if (!up && end >= m_items.size()) {
        return Refuse(IsHeader(item) ? u"The menu is already down!" : kAlreadyDown, caption);
    }
    // Each menu keeps the items it has now wherever the units go: a menu that claims fewer
    // items than its count would otherwise take the item that comes to follow it.
    std::vector<int> claims(m_items.size(), -1);
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (IsHeader(i)) claims[i] = ClaimedCount(i);
    }
    auto unitStart = [this](size_t row) {
        auto menu = MenuOf(row);
        return menu ? *menu : row;
    };
    size_t insertAt = 0;  // index in the list without the unit
    if (up) {
        insertAt = unitStart(begin - std::min(step, begin));
    } else {
        const size_t row = std::min(m_items.size() - 1, end - 1 + step);
        const size_t targetEnd = UnitOf(unitStart(row)).second;
        insertAt = targetEnd - (end - begin);
    }
    auto moveUnit = [begin, end, insertAt](auto& values) {
        auto first = values.begin() + static_cast<std::ptrdiff_t>(begin);
        auto last = values.begin() + static_cast<std::ptrdiff_t>(end);
        std::vector<typename std::decay_t<decltype(values)>::value_type> unit(
            std::make_move_iterator(first), std::make_move_iterator(last));
        values.erase(first, last);
        values.insert(values.begin() + static_cast<std::ptrdiff_t>(insertAt),
                      std::make_move_iterator(unit.begin()), std::make_move_iterator(unit.end()));
    };
    moveUnit(m_items);
    moveUnit(claims);
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (claims[i] >= 0 && ClaimedCount(i) != claims[i]) {
            m_items[i] = MakeMenuHeader(claims[i], ParseMenuHeader(m_items[i])->title);
        }
    }
    m_selected = static_cast<int>(insertAt);
    return {};
}

LabelEditor::Result LabelEditor::ToggleMenu() {
    if (!m_selected) return Refuse(u"Select before a shortcut as the title of the menu!", u"Set Menu");
    const auto item = static_cast<size_t>(*m_selected);
    if (auto header = ParseMenuHeader(m_items[item])) {
        m_items[item] = std::u16string(header->title);
        return {};
    }
    if (MenuOf(item)) return Refuse(u"It's already included in a menu!", u"Set Menu");
    // The menu takes the items that follow, up to three: never more than there are.
    int count = 0;
    for (size_t i = item + 1; i < m_items.size() && count < kNewMenuCount && !IsHeader(i); ++i) {
        ++count;
    }
    m_items[item] = MakeMenuHeader(count, m_items[item]);
    return {};
}

LabelEditor::Result LabelEditor::ToggleBack() {
    auto header = m_selected ? ParseMenuHeader(m_items[static_cast<size_t>(*m_selected)])
                             : std::nullopt;
    if (!header) return Refuse(u"Select before the menu!", u"Menu back option");
    std::u16string title(header->title);
    if (title.ends_with(kBackSuffix)) {
        title.resize(title.size() - kBackSuffix.size());
    } else {
        title += kBackSuffix;
    }
    m_items[static_cast<size_t>(*m_selected)] = MakeMenuHeader(header->count, title);
    return {};
}

std::vector<std::u16string> LabelEditor::TagRows() {
    std::vector<std::u16string> rows;
    for (const TagDefinition& tag : kTags) rows.emplace_back(tag.row);
    return rows;
}

LabelEditor::Tag LabelEditor::TagOf(int row) {
    if (row < 0 || static_cast<size_t>(row) >= std::size(kTags)) return {};
    const TagDefinition& tag = kTags[static_cast<size_t>(row)];
    return {std::u16string(tag.token), tag.atCaret};
}

std::vector<std::u16string> LabelEditor::WordRows(std::u16string_view fieldText) {
    std::vector<std::u16string> rows = {u"- Space -", u"- Back -"};
    auto isSeparator = [](char16_t c) {
        return c == u' ' || c == u'.' || c == u',' || c == u'-' || c == u'\r' || c == u'\n' ||
               c == u'\t';
    };
    size_t examined = 0;
    for (size_t at = 0; at < fieldText.size() && examined < kMaxWordsExamined;) {
        while (at < fieldText.size() && isSeparator(fieldText[at])) ++at;
        size_t end = at;
        while (end < fieldText.size() && !isSeparator(fieldText[end])) ++end;
        if (end == at) break;
        ++examined;
        std::u16string word = Clean(fieldText.substr(at, end - at));
        if (word.size() > 2 && std::find(rows.begin() + 2, rows.end(), word) == rows.end()) {
            rows.push_back(std::move(word));
        }
        at = end;
    }
    return rows;
}

}  // namespace pondrel
