#include "records/FolderFiles.h"

#include <algorithm>
#include <map>

#include "platform/DeviceFileSystem.h"
#include "platform/Text.h"
#include "records/DayNumber.h"
#include "records/JournalDayBlocks.h"
#include "records/JournalFormat.h"
#include "records/PatientFileFormat.h"
#include "records/PatientFileParser.h"
#include "records/ReservedCharacters.h"
#include "records/SubstringIndex.h"
#include "records/Version300Conversion.h"

namespace pondrel {

namespace {

constexpr size_t kNone = std::u16string::npos;
constexpr int kIdentityItems = 22;  // 20 identity fields, the sex and the location item
constexpr size_t kMaxTypeLength = 25;
constexpr int kLayoutField = 202;
constexpr int kPastHistoryField = 63;

size_t FindIn(std::u16string_view text, std::u16string_view what, size_t from, size_t limit) {
    if (from >= limit || limit > text.size()) return kNone;
    size_t at = text.substr(from, limit - from).find(what);
    return at == kNone ? kNone : from + at;
}

// The item starting at `from` (up to the next "¢" before `limit`, or to `limit`).
std::u16string_view ItemAt(std::u16string_view text, size_t from, size_t limit) {
    if (from >= limit) return {};
    size_t end = FindIn(text, std::u16string_view(&kItemEnd, 1), from, limit);
    return text.substr(from, (end == kNone ? limit : end) - from);
}

// The position after the n-th "¢" from `from` (n counted from 1), or kNone before `limit`.
size_t AfterItems(std::u16string_view text, size_t from, size_t limit, int n) {
    size_t pos = from;
    for (int i = 0; i < n; ++i) {
        size_t end = FindIn(text, std::u16string_view(&kItemEnd, 1), pos, limit);
        if (end == kNone) return kNone;
        pos = end + 1;
    }
    return pos;
}

std::u16string DisplayDate(std::u16string_view item) {
    DateTime t = ParseSubfolderDateTime(item);
    return ToText(t.day) + u"." + ToText(t.month) + u"." + ToText(t.year);
}

// The number of "¬P" items before field `field`.
int FormItemIndex(int field) {
    int index = 0;
    for (int n = 1; n < field; ++n) {
        if (IsStoredFormField(n)) ++index;
    }
    return index;
}

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\r' || c == u'\n';
}

bool SetHeaderKey(std::u16string& text, std::u16string_view key) {
    size_t first = text.find(kItemEnd);
    if (first == kNone) return false;
    size_t second = text.find(kItemEnd, first + 1);
    if (second == kNone) return false;
    text.replace(first + 1, second - first - 1, key);
    return true;
}

// Field 63 with the problems of the template added (each once, with the template's date).
std::u16string PastHistory(std::u16string field, std::u16string_view titles,
                           std::u16string_view date) {
    std::u16string added;
    for (const std::u16string& raw : Split(titles, kListSep)) {
        size_t b = 0;
        size_t e = raw.size();
        while (b < e && IsBlank(raw[b])) ++b;
        while (e > b && IsBlank(raw[e - 1])) --e;
        std::u16string title = raw.substr(b, e - b);
        for (std::u16string_view mark : {u"(!!!)", u"(!)"}) {
            if (title.size() >= mark.size() &&
                std::u16string_view(title).substr(title.size() - mark.size()) == mark) {
                title.resize(title.size() - mark.size());
            }
        }
        title = TrimRightSpaces(title);
        if (field.find(title) != kNone) continue;
        added += u"\r\n-" + title + u" (" + std::u16string(date) + u")";
        if (!field.empty() && field.front() != u'-') field.insert(0, u"-");
    }
    if (field.empty() || field.back() == u'\n') {
        size_t lead = 0;
        while (lead < added.size() && (added[lead] == u'\r' || added[lead] == u'\n')) ++lead;
        added.erase(0, lead);
    }
    return field + added;
}

bool EmptiedInCopy(int field) {
    return field == 1 || (field >= 9 && field <= 14) || (field >= 40 && field <= 42) ||
           (field >= 46 && field <= 48) || (field >= 79 && field <= 81) || field == 94 ||
           field == 98 || (field >= 198 && field <= 202);
}

// One journal: headers by number (text after "§n|") and entries by (day, number).
struct Journal {
    std::map<int, std::u16string> headers;
    std::map<DayNumber, std::map<int, Sections>> days;
};

Journal ParseJournal(std::u16string_view journal) {
    Journal out;
    const size_t firstDay = journal.find(kJournalDayMark);
    std::u16string_view head = journal.substr(0, firstDay);
    for (size_t mark = head.find(kJournalEntryMark); mark != kNone;) {
        const size_t next = head.find(kJournalEntryMark, mark + 1);
        const size_t end = next == kNone ? head.size() : next;
        const size_t bar = FindIn(head, u"|", mark, end);
        if (bar != kNone) {
            const int number = ParseInt(head.substr(mark + 1, bar - mark - 1));
            if (number >= 0 && number < kMaxProblems && !out.headers.count(number)) {
                out.headers[number] = std::u16string(head.substr(bar + 1, end - bar - 1));
            }
        }
        mark = next;
    }
    if (firstDay == kNone) return out;
    const auto entries = IndexJournalEntries(journal.substr(firstDay));
    for (size_t number = 0; number < entries.size(); ++number) {
        for (const IndexedEntry& entry : entries[number]) {
            if (entry.day < kFirstJournalDay || entry.day > kLastJournalDay) continue;
            Sections& into = out.days[static_cast<DayNumber>(entry.day)][static_cast<int>(number)];
            for (size_t i = 0; i < into.size(); ++i) {
                // The same day listed twice: the reader takes the first entry; keep both texts.
                if (into[i].empty()) {
                    into[i] = entry.sections[i];
                } else if (!entry.sections[i].empty() &&
                           into[i].find(entry.sections[i]) == kNone) {
                    into[i] += u"\r\n" + entry.sections[i];
                }
            }
        }
    }
    return out;
}

std::u16string TitleOf(std::u16string_view header) {
    return std::u16string(header.substr(0, header.find(kJournalHeaderSep)));
}

}  // namespace

std::u16string DisplayName(std::u16string_view fileName) {
    std::u16string name(fileName.substr(0, fileName.find(u'.')));
    std::replace(name.begin(), name.end(), u'_', u' ');
    return name;
}

bool ListFolder(DeviceFileSystem& files, std::u16string_view folder,
                std::vector<FolderEntry>& entries) {
    entries.clear();
    std::vector<std::u16string> names;
    if (!files.ListFiles(folder, u"*.pdr", names)) return false;
    entries.reserve(names.size());
    for (std::u16string& name : names) {
        std::u16string display = DisplayName(name);
        entries.push_back({std::move(name), std::move(display)});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        const std::u16string fa = FoldCase(a.displayName);
        const std::u16string fb = FoldCase(b.displayName);
        if (fa != fb) return fa < fb;
        return FoldCase(a.fileName) < FoldCase(b.fileName);
    });
    return true;
}

bool HeaderKey(std::u16string_view text, std::u16string& key) {
    size_t first = text.find(kItemEnd);
    if (first == kNone) return false;
    size_t second = text.find(kItemEnd, first + 1);
    if (second == kNone) return false;
    key = text.substr(first + 1, second - first - 1);
    return true;
}

std::vector<Stay> ListStays(std::u16string_view text) {
    std::vector<Stay> stays;
    const size_t identity = text.find(kIdentityMark);
    if (identity == kNone) return stays;
    const int version = PatientFileVersion(text);
    std::u16string headerKey;
    const bool hasHeader = HeaderKey(text, headerKey);
    const int layoutItems = FormItemIndex(kLayoutField);
    bool currentFound = false;
    for (size_t pos = text.find(kBlockMarkH, identity); pos != kNone;) {
        const size_t next = text.find(kBlockMarkH, pos + kBlockMarkH.size());
        const size_t limit = next == kNone ? text.size() : next;
        Stay stay;
        stay.begin = pos;
        const size_t endMark = FindIn(text, kBlockEndMark, pos, limit);
        stay.complete = endMark != kNone;
        stay.end = stay.complete ? endMark + kBlockEndMark.size() : limit;
        const size_t keyBegin = pos + kBlockMarkH.size();
        stay.key = ItemAt(text, keyBegin, limit);
        // The reader opens the first stay of the header's key: a later one of the same key is
        // not the current one.
        stay.current = hasHeader && !currentFound && stay.key == headerKey;
        currentFound = currentFound || stay.current;
        stay.admission = DisplayDate(stay.key);
        const size_t exitBegin = AfterItems(text, keyBegin, limit, 1);
        if (exitBegin != kNone) stay.exit = DisplayDate(ItemAt(text, exitBegin, limit));
        const size_t titlesBegin = AfterItems(text, keyBegin, limit, 3);
        if (titlesBegin != kNone) stay.titles = ItemAt(text, titlesBegin, limit);
        const size_t options = FindIn(text, kOptionsMark, pos, limit);
        if (options != kNone) stay.type = ItemAt(text, options + kOptionsMark.size(), limit);
        if (version < 40 || stay.type.size() > kMaxTypeLength) stay.type = u"Hosp";
        const size_t form = FindIn(text, kFormMark, pos, limit);
        if (version >= 40 && form != kNone) {
            const size_t formEnd = FindIn(text, kDrawingMark, form, limit);
            const size_t formLimit = formEnd == kNone ? limit : formEnd;
            const size_t at = AfterItems(text, form + kFormMark.size(), formLimit, layoutItems);
            if (at != kNone) {
                std::u16string layout(ItemAt(text, at, formLimit));
                size_t dot = layout.find(u'.');
                if (dot != kNone && dot > 0) layout.resize(dot);
                stay.layout = TrimRightSpaces(layout);
            }
        }
        stays.push_back(std::move(stay));
        pos = next;
    }
    return stays;
}

std::u16string StayRange(const Stay& stay) {
    return stay.admission + u" -> " + stay.exit;
}

std::u16string StayLine(const Stay& stay) {
    return stay.type + u" " + stay.layout + u": " + StayRange(stay) +
           (stay.current ? u"  <Edit>" : u"");
}

std::u16string TitleBox(std::u16string_view titles) {
    std::u16string_view trimmed = titles;
    if (!trimmed.empty() && trimmed.back() == kListSep) trimmed.remove_suffix(1);
    if (trimmed.empty()) return {};
    return u"-" + ReplaceAll(trimmed, u"|", u"\r\n-");
}

bool HeldByAnotherUser(std::u16string_view text) {
    size_t first = text.find(kItemEnd);
    return first != kNone && first > 0 && text[first - 1] == u'R';
}

TextChange ChooseStayText(std::u16string& text, size_t index) {
    const std::vector<Stay> stays = ListStays(text);
    if (index >= stays.size()) return TextChange::NoStay;
    if (!SetHeaderKey(text, stays[index].key)) return TextChange::NoHeader;
    return TextChange::Done;
}

TextChange NewStayText(std::u16string& text, size_t index, std::u16string_view type, bool blank,
                       const DateTime& now) {
    const std::vector<Stay> stays = ListStays(text);
    if (index >= stays.size() || !stays[index].complete) return TextChange::NoStay;
    const Stay& stay = stays[index];
    std::u16string_view view(text);
    std::u16string_view templ = view.substr(stay.begin, stay.end - stay.begin);
    const size_t form = templ.find(kFormMark);
    if (form == kNone) return TextChange::NoForm;
    const std::u16string now6 = SubfolderDateTimeText(now);
    std::u16string block = std::u16string(kBlockMarkH) + now6 + kItemEnd + now6 + kItemEnd +
                           u"0" + kItemEnd + kItemEnd;

    // The form fields, each by its number.
    const size_t drawings = templ.find(kDrawingMark, form);
    const size_t formEnd = drawings == kNone ? templ.size() : drawings;
    std::u16string fields(templ.substr(form + kFormMark.size(), formEnd - form - kFormMark.size()));
    fields.erase(std::remove(fields.begin(), fields.end(), kDayMark), fields.end());
    std::vector<std::u16string> items = Split(fields, kItemEnd);
    std::u16string rebuilt;
    int itemIndex = 0;
    for (int field = 1; field <= 229; ++field) {
        if (!IsStoredFormField(field)) continue;
        if (static_cast<size_t>(itemIndex) >= items.size()) break;
        std::u16string& value = items[static_cast<size_t>(itemIndex++)];
        if (field == kPastHistoryField) {
            value = PastHistory(value, stay.titles, stay.admission);
        } else if (blank || EmptiedInCopy(field)) {
            value.clear();
        } else if (!value.empty()) {
            value.insert(0, u"[c] ");
        }
    }
    for (size_t i = 0; i < items.size(); ++i) {
        rebuilt += items[i];
        // Split leaves the text after the last "¢" as one more item.
        if (i + 1 < items.size()) rebuilt += kItemEnd;
    }
    block += kFormMark;
    block += rebuilt;
    std::u16string_view rest = templ.substr(formEnd);
    if (blank && drawings != kNone) {
        const size_t options = rest.find(kOptionsMark);
        block += kDrawingMark;
        block += std::u16string(8, kItemEnd);
        rest = options == kNone ? std::u16string_view() : rest.substr(options);
    }
    const size_t options = rest.find(kOptionsMark);
    if (options == kNone) {
        block += rest;
    } else {
        block += rest.substr(0, options + kOptionsMark.size());
        std::u16string_view after = rest.substr(options + kOptionsMark.size());
        const size_t typeEnd = after.find(kItemEnd);
        block += type;
        block += typeEnd == kNone ? std::u16string_view() : after.substr(typeEnd);
    }
    std::u16string result = text;
    result.insert(stay.begin, block);
    if (!SetHeaderKey(result, now6)) return TextChange::NoHeader;
    if (result.size() >= kTooBigTextLength) return TextChange::TooBig;
    text = std::move(result);
    return TextChange::Done;
}

TextChange DeleteStayText(std::u16string& text, size_t index) {
    const std::vector<Stay> stays = ListStays(text);
    if (index >= stays.size()) return TextChange::NoStay;
    if (stays.size() == 1) return TextChange::LastStay;
    if (!stays[index].complete) return TextChange::NoStay;
    const bool wasCurrent = stays[index].current;
    bool anyCurrent = false;
    for (const Stay& stay : stays) anyCurrent = anyCurrent || stay.current;
    std::u16string result = text;
    result.erase(stays[index].begin, stays[index].end - stays[index].begin);
    if (wasCurrent || !anyCurrent) {
        const std::u16string key = index == 0 ? stays[1].key : stays[0].key;
        if (!SetHeaderKey(result, key)) return TextChange::NoHeader;
    }
    text = std::move(result);
    return TextChange::Done;
}

bool FindJournalItem(std::u16string_view text, size_t& begin, size_t& end) {
    const size_t identity = text.find(kIdentityMark);
    if (identity == kNone) return false;
    const size_t firstStay = text.find(kBlockMarkH, identity);
    const size_t limit = firstStay == kNone ? text.size() : firstStay;
    begin = AfterItems(text, identity + kIdentityMark.size(), limit, kIdentityItems);
    if (begin == kNone) return false;
    end = FindIn(text, std::u16string_view(&kItemEnd, 1), begin, limit);
    return end != kNone;
}

TextChange MergeTexts(std::u16string_view source, std::u16string_view destination,
                      std::u16string& merged, MergeCounts* counts) {
    size_t sourceBegin = 0, sourceEnd = 0, destBegin = 0, destEnd = 0;
    const size_t sourceIdentity = source.find(kIdentityMark);
    const size_t sourceStays =
        sourceIdentity == kNone ? kNone : source.find(kBlockMarkH, sourceIdentity);
    if (sourceStays == kNone) return TextChange::NoStay;
    if (!FindJournalItem(destination, destBegin, destEnd)) return TextChange::NoStay;

    Journal into = ParseJournal(destination.substr(destBegin, destEnd - destBegin));
    Journal from;
    if (FindJournalItem(source, sourceBegin, sourceEnd)) {
        from = ParseJournal(source.substr(sourceBegin, sourceEnd - sourceBegin));
    }

    // The source's problems: the destination problem whose title holds the comparable title,
    // else the smallest free number.
    SubstringIndex titles(kJournalHeaderSep);
    std::vector<int> numberOfTitle;
    for (const auto& [number, header] : into.headers) {
        if (titles.Add(TitleOf(header)) < 0) titles.Add(u"");
        numberOfTitle.push_back(number);
    }
    std::map<int, int> mapped;
    for (const auto& [number, header] : from.headers) {
        const std::u16string title = ComparableTitle(TitleOf(header));
        if (!title.empty()) {
            const int found = titles.FirstHolding(title);
            if (found >= 0) {
                mapped[number] = numberOfTitle[static_cast<size_t>(found)];
                continue;
            }
        }
        int free = 0;
        while (free < kMaxProblems && into.headers.count(free)) ++free;
        if (free == kMaxProblems) return TextChange::TooManyProblems;
        std::u16string stored = header;
        if (TitleOf(header).empty()) {
            stored.insert(0, std::u16string(kDefaultTitlePrefix) + ToText(free + 1));
        }
        into.headers[free] = stored;
        if (titles.Add(TitleOf(stored)) < 0) titles.Add(u"");
        numberOfTitle.push_back(free);
        mapped[number] = free;
    }
    // Entries under a number without header keep their number when it is free.
    for (const auto& [day, entries] : from.days) {
        for (const auto& [number, sections] : entries) {
            if (mapped.count(number)) continue;
            if (into.headers.count(number)) {
                mapped[number] = number;
                continue;
            }
            int free = 0;
            while (free < kMaxProblems && into.headers.count(free)) ++free;
            if (free == kMaxProblems) return TextChange::TooManyProblems;
            into.headers[free] = std::u16string(kDefaultTitlePrefix) + ToText(free + 1);
            mapped[number] = free;
        }
    }
    for (const auto& [day, entries] : from.days) {
        for (const auto& [number, sections] : entries) {
            Sections& target = into.days[day][mapped[number]];
            for (size_t i = 0; i < target.size(); ++i) {
                if (sections[i].empty() || target[i].find(sections[i]) != kNone) continue;
                target[i] = target[i].empty() ? sections[i] : target[i] + u"\r\n" + sections[i];
            }
        }
    }

    std::u16string journal;
    for (const auto& [number, header] : into.headers) journal += ProblemOpening(number) + header;
    JournalDayBlocks blocks;
    for (const auto& [day, entries] : into.days) {
        for (const auto& [number, sections] : entries) blocks.Set(day, number, sections);
    }
    journal += blocks.Text();
    journal = StorableText(journal);

    std::u16string result;
    result.reserve(destination.size() + journal.size() + source.size());
    result.append(destination.substr(0, destBegin));
    result += journal;
    result.append(destination.substr(destEnd));
    result.append(source.substr(sourceStays));
    if (result.size() >= kTooBigTextLength) return TextChange::TooBig;
    if (counts) {
        counts->problems = static_cast<int>(into.headers.size());
        counts->days = static_cast<int>(into.days.size());
    }
    merged = std::move(result);
    return TextChange::Done;
}

}  // namespace pondrel
