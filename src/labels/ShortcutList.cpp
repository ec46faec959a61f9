#include "labels/ShortcutList.h"

#include "labels/Labels.h"
#include "labels/ShortcutItems.h"
#include "platform/Text.h"
#include "records/ReservedCharacters.h"

namespace pondrel {

namespace {

constexpr size_t npos = std::u16string_view::npos;
constexpr std::u16string_view kQuickNotePrefix = u">> ";
constexpr size_t kSeparatorDashes = 14;

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string_view TrimBlanks(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::u16string TrimRightBlanks(std::u16string text) {
    while (!text.empty() && IsBlank(text.back())) text.pop_back();
    return text;
}

std::u16string MenuRow(std::u16string_view title) {
    return u"[[[ " + std::u16string(title) + u" ]]]";
}

std::optional<std::u16string_view> MenuRowTitle(std::u16string_view row) {
    row = TrimBlanks(row);
    if (row.size() < 8 || !row.starts_with(u"[[[ ") || !row.ends_with(u" ]]]")) {
        return std::nullopt;
    }
    return row.substr(4, row.size() - 8);
}

bool IsSeparator(std::u16string_view row) {
    if (row.size() < kSeparatorDashes) return false;
    for (size_t i = 0; i < kSeparatorDashes; ++i) {
        if (row[i] != u'-') return false;
    }
    return true;
}

// The quick notes with their leading bullets and their trailing line breaks, bullets, blanks
// and punctuation removed: [begin, end) of the text.
std::pair<size_t, size_t> QuickNoteRange(std::u16string_view notes) {
    size_t begin = 0;
    while (begin < notes.size() && notes[begin] == u'-') ++begin;
    size_t end = notes.size();
    while (end > begin && std::u16string_view(u"\r\n- \t,.;").find(notes[end - 1]) != npos) {
        --end;
    }
    return {begin, end};
}

// Calls visit(lineBegin, lineEnd, cutBegin) for each line of the quick notes, lines being cut
// at "\r\n-" and "\r\n"; cutBegin is where the line's cut starts (its "\r\n").
template <typename Visit>
void EachQuickNoteLine(std::u16string_view notes, Visit&& visit) {
    auto [begin, end] = QuickNoteRange(notes);
    size_t at = begin;
    size_t cut = 0;
    while (at <= end) {
        size_t brk = notes.substr(0, end).find(u"\r\n", at);
        size_t lineEnd = brk == npos ? end : brk;
        if (!visit(at, lineEnd, cut)) return;
        if (brk == npos) return;
        cut = brk;
        at = brk + 2;
        if (at < end && notes[at] == u'-') ++at;
    }
}

}  // namespace

ShortcutList::ShortcutList(const Labels& labels) : m_labels(labels) {}

std::optional<std::u16string> ShortcutList::DisplayForm(std::u16string_view item) {
    std::u16string text(item);
    size_t tag = text.find(u"((");
    if (tag != npos && tag + 4 < text.size() && text[tag + 3] == u')' && text[tag + 4] == u')') {
        text.erase(tag, 5);
    }
    if (text.empty()) return std::nullopt;
    if (text.starts_with(u" &- ")) return u"->" + text.substr(4);
    if (text.starts_with(u" & ")) return u">" + text.substr(3);
    return text;
}

std::vector<std::u16string> ShortcutList::RecordMenuItems(std::u16string_view text) {
    std::u16string flat = ReplaceAll(text, u"-\r\n", u"|");
    flat = ReplaceAll(flat, u"\r\n-", u"|");
    flat = ReplaceAll(flat, u"\r\n", u"|");
    std::vector<std::u16string> items;
    for (auto& item : Split(flat, u'|')) {
        std::u16string_view line = item;
        if (items.empty()) {
            while (!line.empty() && (line.front() == u'-' || IsBlank(line.front()))) {
                line.remove_prefix(1);
            }
        }
        if (line.empty()) continue;
        items.emplace_back(line);
        if (items.size() == kMaxRecordMenuItems) break;
    }
    return items;
}

std::vector<std::u16string> ShortcutList::QuickNoteLines(std::u16string_view notes) {
    std::vector<std::u16string> lines;
    EachQuickNoteLine(notes, [&](size_t begin, size_t end, size_t) {
        std::u16string_view line = notes.substr(begin, end - begin);
        if (!TrimBlanks(line).empty()) lines.emplace_back(line);
        return lines.size() < kMaxQuickNoteRows;
    });
    return lines;
}

std::optional<std::u16string> ShortcutList::WithoutQuickNoteLine(std::u16string_view notes,
                                                                 std::u16string_view line) {
    const auto range = QuickNoteRange(notes);
    const size_t begin = range.first;
    const size_t end = range.second;
    std::optional<std::u16string> result;
    EachQuickNoteLine(notes, [&](size_t lineBegin, size_t lineEnd, size_t cut) {
        if (notes.substr(lineBegin, lineEnd - lineBegin) != line) return true;
        std::u16string kept(notes.substr(0, end));
        if (lineBegin == begin) {
            // The first line goes with the line break after it; the next line keeps its bullet.
            size_t next = lineEnd < end ? lineEnd + 2 : end;
            kept.erase(0, next);
        } else {
            kept.erase(cut, lineEnd - cut);
        }
        while (!kept.empty() && std::u16string_view(u"\r\n- \t").find(kept.back()) != npos) {
            kept.pop_back();
        }
        result = std::move(kept);
        return false;
    });
    return result;
}

std::u16string ShortcutList::InsertionText(std::u16string_view row, int field, bool fieldEmpty) {
    std::u16string text(row);
    const bool spaced =
        !IsSingleValueField(field) && text.size() != 1 && !(text.size() == 2 && text[1] == u' ');
    if (spaced) text += u' ';
    // Comments between two "*" (to the end without a second one) are not inserted.
    // One pass: each comment goes with the blanks before it.
    bool removed = false;
    if (text.find(u'*') != npos) {
        std::u16string kept;
        kept.reserve(text.size());
        for (size_t i = 0; i < text.size();) {
            if (text[i] != u'*') {
                kept += text[i++];
                continue;
            }
            while (!kept.empty() && IsBlank(kept.back())) kept.pop_back();
            size_t close = text.find(u'*', i + 1);
            i = close == npos ? text.size() : close + 1;
        }
        text = std::move(kept);
        removed = true;
    }
    if (removed) {
        text = TrimRightBlanks(std::move(text));
        if (spaced && !text.empty()) text += u' ';
    }
    // In-line returns: " &- " a new bulleted line, " & " a new line.
    if (text.find(u" &- ") != npos) {
        text = TrimRightBlanks(ReplaceAll(text, u" &- ", u"\r\n-"));
        if (fieldEmpty) {
            size_t lead = 0;
            while (lead < text.size() && (IsBlank(text[lead]) || text[lead] == u'-')) ++lead;
            text = u"-" + text.substr(lead);
        }
    }
    if (text.find(u" & ") != npos) text = TrimRightBlanks(ReplaceAll(text, u" & ", u"\r\n"));
    return text;
}

void ShortcutList::BuildMainList(const std::vector<std::u16string_view>& items) {
    if (m_field == kMedicineField) m_rows.push_back(MenuRow(kUsualDrugsMenu));
    if (m_field == kDiagnosisField) m_rows.push_back(MenuRow(m_labels.Label(168)));
    for (size_t i = 0; i < items.size();) {
        if (auto header = ParseMenuHeader(items[i])) {
            m_rows.push_back(MenuRow(header->title));
            ++i;
            // The menu's items are shown only when it is opened; a further header among them
            // ends the menu early.
            for (int skip = header->count; skip > 0 && i < items.size(); --skip) {
                if (ParseMenuHeader(items[i])) break;
                ++i;
            }
            continue;
        }
        if (auto row = DisplayForm(items[i])) m_rows.push_back(std::move(*row));
        ++i;
    }
    if (m_rows.empty()) m_rows.emplace_back(kNothingRow);
}

bool ShortcutList::BuildMenu(const std::vector<std::u16string_view>& items,
                             const ShortcutSources& sources) {
    std::vector<std::u16string> menu;
    if (m_menuName == kUsualDrugsMenu) {
        menu = RecordMenuItems(sources.usualDrugs);
    } else if (m_menuName == m_labels.Label(168)) {
        menu = RecordMenuItems(sources.pastHistory);
    } else {
        size_t i = 0;
        std::optional<MenuHeader> header;
        for (; i < items.size(); ++i) {
            header = ParseMenuHeader(items[i]);
            if (header && header->title == m_menuName) break;
        }
        if (i == items.size()) return false;  // no such menu (any more): the main list
        for (int n = 0; n < header->count && ++i < items.size(); ++n) {
            if (ParseMenuHeader(items[i])) break;
            if (auto row = DisplayForm(items[i])) menu.push_back(std::move(*row));
        }
    }
    m_rows.push_back(MenuRow(m_labels.Label(169)));
    if (menu.empty()) m_rows.emplace_back(kNothingRow);
    for (auto& row : menu) m_rows.push_back(std::move(row));
    return true;
}

void ShortcutList::Build(int field, const ShortcutSources& sources) {
    m_open = true;
    m_field = field;
    m_rows.clear();
    auto items = ShortcutItems(m_labels.ShortcutList(field));
    m_inMenu = !m_menuName.empty() && BuildMenu(items, sources);
    if (!m_inMenu) {
        m_backAfterInsert = false;
        BuildMainList(items);
    }
    m_menuName.clear();
    if (sources.quickNotesPageShown) return;
    std::vector<std::u16string> notes;
    for (auto& line : QuickNoteLines(sources.quickNotes)) notes.push_back(u"|>> " + line);
    if (notes.empty()) return;
    notes.push_back(u"|" + std::u16string(75, u'-'));
    m_rows.insert(m_rows.begin(), notes.begin(), notes.end());
}

ShortcutList::Outcome ShortcutList::Choose(size_t index, const FieldState& field,
                                           const ShortcutSources& sources) {
    if (!m_open || index >= m_rows.size()) return {};
    std::u16string row = RemoveAll(m_rows[index], u'|');
    if (row.starts_with(kQuickNotePrefix)) {
        return MoveQuickNote(std::u16string_view(row).substr(kQuickNotePrefix.size()), field,
                             sources);
    }
    if (auto title = MenuRowTitle(row)) {
        Outcome outcome;
        m_menuName = *title == m_labels.Label(169) ? std::u16string() : std::u16string(*title);
        if (!m_inMenu && title->find(u" (b)") != npos) m_backAfterInsert = true;
        Build(m_field, sources);
        outcome.rebuilt = true;
        return outcome;
    }
    return Insert(row, field, sources);
}

ShortcutList::Outcome ShortcutList::Insert(std::u16string_view row, const FieldState& state,
                                           const ShortcutSources& sources) {
    Outcome outcome;
    FieldState field = state.Clamped();
    std::u16string text = InsertionText(row, m_field, field.text.empty());
    const std::u16string_view command = TrimBlanks(text);
    const size_t caret = field.Caret();
    std::optional<FieldState> changed;
    if (command == u"<-") {
        changed = InsertText(field, u"\r\n");
    } else if (command == u"<---") {
        changed = TabReturn(field, kTabReturn1);
    } else if (command == u"<==") {
        changed = TabReturn(field, kTabReturn2);
    } else if (command == u"- Space -") {
        changed = InsertText(field, u" ");
    } else if (command == u"- Back -") {
        if (field.HasSelection()) {
            changed = InsertText(field, u"");
        } else if (caret > 0) {
            field.selectionStart = caret - 1;
            if (caret >= 2 && field.text.compare(caret - 2, 2, u"\r\n") == 0) {
                field.selectionStart = caret - 2;
            }
            changed = InsertText(field, u"");
        }
    } else if (command == u"- Clear -") {
        changed = InsertText(field, u"");
    } else if (command == u"- Clear all -") {
        changed = FieldState::At(u"", 0);
    } else if (command == u"- Undo -") {
        outcome.command = Command::Undo;
    } else if (command == u"- Cut -") {
        outcome.command = Command::Cut;
    } else if (command == u"- Copy -") {
        outcome.command = Command::Copy;
    } else if (command == u"- Paste -") {
        outcome.command = Command::Paste;
    } else if (command == u"- Close -") {
        outcome.command = Command::Close;
        m_open = false;
    } else if (command == kNothingRow || IsSeparator(command) || command.empty()) {
        // nothing
    } else {
        std::u16string_view before =
            std::u16string_view(field.text).substr(0, field.selectionStart);
        bool lineStart = field.selectionStart == 0 || before.ends_with(u'\n');
        if (text.starts_with(u"->")) {
            std::u16string bullet = lineStart ? u"-" : before.ends_with(u'-') ? u"" : u"\r\n-";
            text = bullet + text.substr(2);
        } else if (text.starts_with(u">")) {
            text = (lineStart ? u"" : u"\r\n") + text.substr(1);
        }
        changed = InsertText(field, text);
    }
    if (changed) {
        outcome.field = std::move(changed);
        if (m_inMenu && m_backAfterInsert) {
            Build(m_field, sources);
            outcome.rebuilt = true;
        }
    }
    return outcome;
}

ShortcutList::Outcome ShortcutList::MoveQuickNote(std::u16string_view line, const FieldState& field,
                                                  const ShortcutSources& sources) {
    Outcome outcome;
    ShortcutSources after = sources;
    if (auto notes = WithoutQuickNoteLine(sources.quickNotes, line)) {
        after.quickNotes = *notes;
        outcome.quickNotes = std::move(*notes);
        // The line is moved whole, as written (no comment, return or capital rule).
        FieldState place = TabReturn(field, kQuickNoteMove);
        std::u16string text = WithoutReservedCharacters(line);
        place.text.insert(place.selectionStart, text);
        place.selectionStart = place.selectionEnd = place.selectionStart + text.size();
        outcome.field = std::move(place);
    }
    // Rebuilt from the notes as they are: a line no longer there is simply gone.
    m_menuName.clear();
    Build(m_field, after);
    outcome.rebuilt = true;
    return outcome;
}

}  // namespace pondrel
