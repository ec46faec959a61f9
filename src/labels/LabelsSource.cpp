#include "labels/LabelsSource.h"

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "records/ReservedCharacters.h"

namespace pondrel {

namespace {

struct Shortcut {
    std::u16string text;
    std::vector<std::u16string> menuItems;  // for a menu
    bool isMenu = false;
};

struct FieldSource {
    int line = 0;
    std::u16string caption;
    std::vector<Shortcut> shortcuts;
};

// A numbered kind of value: "label 12: ..." fills values[12].
struct NumberedKind {
    std::string_view keyword;
    std::u16string* values;
    int count;
    std::vector<int> lines;  // line of each value given, 0 when not given
};

class Compiler {
public:
    explicit Compiler(Labels& labels) : m_labels(labels) {
        m_kinds = {
            {"section", labels.sectionCaptions.data(), kSectionCaptionCount, {}},
            {"label", labels.uiLabels.data(), kUiLabelCount, {}},
            {"weekday", labels.weekdayNames.data(), kWeekdayCount, {}},
            {"month", labels.monthNames.data(), kMonthCount, {}},
            {"age", labels.ageWords.data(), kAgeWordCount, {}},
            {"short month", labels.shortMonthNames.data(), kShortMonthCount, {}},
        };
        for (NumberedKind& kind : m_kinds) kind.lines.assign(kind.count, 0);
    }

    bool Run(std::string_view source, Error* error);

private:
    bool Fail(Error* error, const std::string& message) {
        Error::Set(error, ErrorKind::Damaged, "line " + std::to_string(m_line) + ": " + message);
        return false;
    }
    bool Statement(std::string_view line, Error* error);
    bool CheckText(std::u16string_view text, Error* error);
    bool Finish(Error* error);

    Labels& m_labels;
    std::vector<NumberedKind> m_kinds;
    std::map<int, FieldSource> m_fields;
    FieldSource* m_field = nullptr;
    Shortcut* m_menu = nullptr;
    int m_line = 0;
};

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    return text;
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

std::u16string ValueAfter(std::string_view rest) {
    if (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    return FromUtf8(rest);
}

// "keyword N: value" -> N and the value; false when the line has another shape.
bool SplitNumbered(std::string_view line, std::string_view keyword, int& number,
                   std::string_view& value) {
    if (line.substr(0, keyword.size()) != keyword || line.size() <= keyword.size() ||
        line[keyword.size()] != ' ') {
        return false;
    }
    std::string_view rest = line.substr(keyword.size() + 1);
    size_t colon = rest.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon > 3) return false;
    number = 0;
    for (char c : rest.substr(0, colon)) {
        if (c < '0' || c > '9') return false;
        number = number * 10 + (c - '0');
    }
    value = rest.substr(colon + 1);
    return true;
}

bool Compiler::CheckText(std::u16string_view text, Error* error) {
    for (char16_t c : text) {
        if (IsReservedCharacter(c)) {
            return Fail(error, "the characters | # \u00A2 \u00A6 \u00A7 \u00AC are reserved");
        }
        if (c == 0xFFFD) return Fail(error, "the line is not valid UTF-8");
    }
    return true;
}

bool Compiler::Statement(std::string_view line, Error* error) {
    if (line.front() == '|') {
        if (!m_field) return Fail(error, "a shortcut before any field");
        std::u16string text = ValueAfter(line.substr(1));
        if (text.empty()) return Fail(error, "an empty shortcut");
        if (!CheckText(text, error)) return false;
        if (m_menu) {
            m_menu->menuItems.push_back(text);
        } else {
            m_field->shortcuts.push_back({text, {}, false});
        }
        return true;
    }
    if (line.substr(0, 5) == "menu:") {
        if (!m_field) return Fail(error, "a menu before any field");
        if (m_menu) return Fail(error, "a menu inside a menu (close it with \"end\")");
        std::u16string title = ValueAfter(line.substr(5));
        if (title.empty()) return Fail(error, "a menu without title");
        if (!CheckText(title, error)) return false;
        m_field->shortcuts.push_back({title, {}, true});
        m_menu = &m_field->shortcuts.back();
        return true;
    }
    if (line == "end") {
        if (!m_menu) return Fail(error, "\"end\" without a menu");
        if (m_menu->menuItems.empty()) return Fail(error, "an empty menu");
        m_menu = nullptr;
        return true;
    }
    if (m_menu) return Fail(error, "the menu is not closed with \"end\"");
    int number = 0;
    std::string_view value;
    if (SplitNumbered(line, "field", number, value)) {
        if (number >= kLabelsFieldCount) return Fail(error, "no such field");
        if (m_fields.count(number)) return Fail(error, "field given twice");
        std::u16string caption = ValueAfter(value);
        if (!CheckText(caption, error)) return false;
        m_field = &m_fields[number];
        m_field->line = m_line;
        m_field->caption = std::move(caption);
        return true;
    }
    for (NumberedKind& kind : m_kinds) {
        if (!SplitNumbered(line, kind.keyword, number, value)) continue;
        if (number >= kind.count) return Fail(error, "no such " + std::string(kind.keyword));
        if (kind.lines[number]) return Fail(error, std::string(kind.keyword) + " given twice");
        std::u16string text = ValueAfter(value);
        if (!CheckText(text, error)) return false;
        kind.values[number] = std::move(text);
        kind.lines[number] = m_line;
        m_field = nullptr;
        return true;
    }
    return Fail(error, "not understood: " + std::string(line));
}

bool Compiler::Finish(Error* error) {
    if (m_menu) return Fail(error, "the last menu is not closed with \"end\"");
    std::map<std::u16string, int> captionLines;
    for (int n = 0; n < kLabelsFieldCount; ++n) {
        auto found = m_fields.find(n);
        if (found == m_fields.end()) {
            Error::Set(error, ErrorKind::Damaged, "field " + std::to_string(n) + " is missing");
            return false;
        }
        const FieldSource& field = found->second;
        m_line = field.line;
        if (!field.caption.empty()) {
            auto [at, added] = captionLines.emplace(field.caption, field.line);
            if (!added) {
                return Fail(error, "caption \"" + ToUtf8(field.caption) +
                                       "\" already used on line " + std::to_string(at->second));
            }
        }
        std::set<std::u16string> seen;
        std::u16string list;
        for (const Shortcut& shortcut : field.shortcuts) {
            if (!seen.insert(shortcut.text).second) {
                return Fail(error, "shortcut \"" + ToUtf8(shortcut.text) + "\" given twice");
            }
            if (shortcut.isMenu) {
                list += u"\u00A2" + ToText(static_cast<long long>(shortcut.menuItems.size())) +
                        u"\u00A2" + shortcut.text + u"|";
                for (const std::u16string& item : shortcut.menuItems) {
                    if (!seen.insert(item).second) {
                        return Fail(error, "shortcut \"" + ToUtf8(item) + "\" given twice");
                    }
                    list += item + u"|";
                }
            } else {
                list += shortcut.text + u"|";
            }
        }
        m_labels.captions[n] = field.caption;
        m_labels.shortcutLists[n] = list.empty() ? u"||" : list + u"|";
    }
    for (const NumberedKind& kind : m_kinds) {
        for (int i = 0; i < kind.count; ++i) {
            if (!kind.lines[i]) {
                Error::Set(error, ErrorKind::Damaged,
                           std::string(kind.keyword) + " " + std::to_string(i) + " is missing");
                return false;
            }
        }
    }
    return true;
}

bool Compiler::Run(std::string_view source, Error* error) {
    if (source.substr(0, 3) == "\xEF\xBB\xBF") source.remove_prefix(3);
    while (!source.empty()) {
        size_t end = source.find('\n');
        std::string_view line = source.substr(0, end);
        source = end == std::string_view::npos ? std::string_view() : source.substr(end + 1);
        ++m_line;
        line = TrimRight(TrimLeft(line));
        if (line.empty() || line.front() == ';') continue;
        if (!Statement(line, error)) return false;
    }
    return Finish(error);
}

}  // namespace

bool CompileLabelsSource(std::string_view source, Labels& labels, Error* error) {
    Labels compiled = Labels::Blank();
    for (std::u16string& caption : compiled.captions) caption.clear();
    Compiler compiler(compiled);
    if (!compiler.Run(source, error)) return false;
    labels = std::move(compiled);
    return true;
}

}  // namespace pondrel
