#include "journal/TreatmentLines.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <unordered_map>

#include "journal/JournalWords.h"
#include "platform/Text.h"

namespace pondrel {

namespace {

constexpr size_t npos = std::u16string_view::npos;

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string_view TrimRight(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool EndsWith(std::u16string_view text, std::u16string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// Polynomial hashes modulo 2^61 - 1, weighted from the end of the text, so that the hash of
// every suffix of a text comes in one pass from its last character back.
class SuffixHash {
public:
    static uint64_t Of(std::u16string_view text) {
        uint64_t hash = 0;
        uint64_t power = 1;
        for (size_t i = text.size(); i-- > 0;) {
            hash = Add(hash, Mul(text[i] + 1u, power));
            power = Mul(power, kBase);
        }
        return hash;
    }
    // Calls visit(begin, hash) for every suffix text[begin..], the longest first.
    template <typename Visit>
    static void EachSuffix(std::u16string_view text, Visit&& visit) {
        std::vector<uint64_t> hashes(text.size());
        uint64_t hash = 0;
        uint64_t power = 1;
        for (size_t i = text.size(); i-- > 0;) {
            hash = Add(hash, Mul(text[i] + 1u, power));
            power = Mul(power, kBase);
            hashes[i] = hash;
        }
        for (size_t i = 0; i < text.size(); ++i) visit(i, hashes[i]);
    }

private:
    static constexpr uint64_t kModulus = (uint64_t{1} << 61) - 1;
    static constexpr uint64_t kBase = 1'000'003;
    static uint64_t Mul(uint64_t a, uint64_t b) {
        __extension__ typedef unsigned __int128 Wide;
        Wide p = static_cast<Wide>(a) * b;
        uint64_t r = static_cast<uint64_t>(p & kModulus) + static_cast<uint64_t>(p >> 61);
        return r >= kModulus ? r - kModulus : r;
    }
    static uint64_t Add(uint64_t a, uint64_t b) {
        uint64_t r = a + b;
        return r >= kModulus ? r - kModulus : r;
    }
};

// Matches stop lines with the courses they end (see the header), keeping the courses in order
// of start.
class CourseMatcher {
public:
    void BeginDay(DayNumber day) {
        m_day = day;
        m_pending.clear();
    }

    void AddStart(std::u16string_view text) {
        if (!m_pending.empty() && ClaimPending(text)) return;
        AddCourse(TreatmentCourse{std::u16string(text), m_day, std::nullopt, false});
    }

    void AddStop(const StopLine& stop, std::u16string_view ownText, bool ownDayOnly,
                 TreatmentKind kind) {
        if (auto index = FindRunning(stop.name)) {
            m_courses[*index].stopDay = m_day;
            return;
        }
        if (!ownDayOnly) {
            // A lower-case "(stop)" that ends nothing: a treatment of its own that keeps running
            // under its full text; an action of its own day, stopped that day under its name.
            if (kind == TreatmentKind::Actions) {
                AddCourse(TreatmentCourse{stop.name, m_day, m_day, true});
            } else {
                AddCourse(TreatmentCourse{std::u16string(ownText), m_day, std::nullopt, true});
            }
            return;
        }
        // Runs on this day only, unless a start line later on this day claims the stop.
        size_t index = m_courses.size();
        m_courses.push_back(TreatmentCourse{std::u16string(ownText), m_day, m_day, false});
        m_pending[stop.name].push_back(index);
    }

    std::vector<TreatmentCourse> Take() { return std::move(m_courses); }

private:
    struct Bucket {
        std::vector<size_t> courses;  // in order of start
        size_t head = 0;              // courses before it are stopped
    };

    bool Running(size_t index) const { return !m_courses[index].stopDay.has_value(); }

    void AddCourse(TreatmentCourse course) {
        size_t index = m_courses.size();
        m_courses.push_back(std::move(course));
        m_exact[m_courses[index].text].push_back(index);
        if (m_tailsIndexed) IndexTails(index);
    }

    void IndexTails(size_t index) {
        SuffixHash::EachSuffix(m_courses[index].text, [&](size_t begin, uint64_t hash) {
            if (begin > 0) m_tails[hash].courses.push_back(index);
        });
    }

    std::optional<size_t> FindRunning(const std::u16string& name) {
        if (auto it = m_exact.find(name); it != m_exact.end()) {
            auto& queue = it->second;
            while (!queue.empty() && !Running(queue.front())) queue.pop_front();
            if (!queue.empty()) {
                size_t index = queue.front();
                queue.pop_front();
                return index;
            }
        }
        // A shortened stop line: the tails of the running courses are indexed the first time
        // one is needed, and every course from then on.
        if (!m_tailsIndexed) {
            m_tailsIndexed = true;
            for (size_t i = 0; i < m_courses.size(); ++i) {
                if (Running(i)) IndexTails(i);
            }
        }
        auto it = m_tails.find(SuffixHash::Of(name));
        if (it == m_tails.end()) return std::nullopt;
        Bucket& bucket = it->second;
        while (bucket.head < bucket.courses.size() && !Running(bucket.courses[bucket.head])) {
            ++bucket.head;
        }
        for (size_t i = bucket.head; i < bucket.courses.size(); ++i) {
            size_t index = bucket.courses[i];
            if (!Running(index)) continue;
            const auto& text = m_courses[index].text;
            if (text.size() > name.size() && EndsWith(text, name)) return index;
        }
        return std::nullopt;
    }

    // A start line of the day whose stop was read before it (a stop written under a problem
    // with a smaller number): the earliest pending stop with this name becomes this line,
    // started and stopped today.
    bool ClaimPending(std::u16string_view text) {
        auto it = m_pending.find(std::u16string(text));
        if (it == m_pending.end()) return false;
        size_t index = it->second.front();
        it->second.pop_front();
        if (it->second.empty()) m_pending.erase(it);
        m_courses[index].text = std::u16string(text);
        return true;
    }

    DayNumber m_day = 0;
    std::vector<TreatmentCourse> m_courses;
    std::unordered_map<std::u16string, std::deque<size_t>> m_exact;
    bool m_tailsIndexed = false;
    std::unordered_map<uint64_t, Bucket> m_tails;
    // The unmatched "Stop" and "One time" lines of the day by name, in order.
    std::unordered_map<std::u16string, std::deque<size_t>> m_pending;
};

struct DayBlock {
    DayNumber day;
    std::u16string_view entries;  // after the block's "§"
};

bool IsDayNumberText(std::u16string_view digits) {
    if (!digits.empty() && digits[0] == u'-') digits.remove_prefix(1);
    if (digits.empty() || digits.size() > 10) return false;
    return std::all_of(digits.begin(), digits.end(),
                       [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

std::vector<DayBlock> DayBlocks(std::u16string_view journal) {
    std::vector<DayBlock> blocks;
    size_t at = journal.find(kJournalDayMark);
    while (at != npos) {
        size_t next = journal.find(kJournalDayMark, at + 1);
        std::u16string_view block =
            journal.substr(at + 1, (next == npos ? journal.size() : next) - at - 1);
        size_t mark = block.find(kJournalEntryMark);
        if (mark != npos && IsDayNumberText(block.substr(0, mark))) {
            DayNumber day = ParseInt(block.substr(0, mark));
            if (day >= kFirstJournalDay && day <= kLastJournalDay) {
                blocks.push_back({day, block.substr(mark)});
            }
        }
        at = next;
    }
    std::stable_sort(blocks.begin(), blocks.end(),
                     [](const DayBlock& a, const DayBlock& b) { return a.day < b.day; });
    return blocks;
}

// Calls visit(section text) for the section of every entry of a block, in entry order.
template <typename Visit>
void EachSection(std::u16string_view entries, Section section, Visit&& visit) {
    const int skip = static_cast<int>(section) + 1;  // the bar after the number, then sections
    size_t at = 0;
    while (at < entries.size()) {
        size_t end = entries.find(kJournalEntryMark, at + 1);
        std::u16string_view entry =
            entries.substr(at + 1, (end == npos ? entries.size() : end) - at - 1);
        size_t pos = 0;
        bool found = true;
        for (int i = 0; i < skip; ++i) {
            size_t bar = entry.find(kJournalFieldSep, pos);
            if (bar == npos) {
                found = false;
                break;
            }
            pos = bar + 1;
        }
        if (found) {
            size_t bar = entry.find(kJournalFieldSep, pos);
            visit(entry.substr(pos, (bar == npos ? entry.size() : bar) - pos));
        }
        if (end == npos) break;
        at = end;
    }
}

}  // namespace

Section SectionOf(TreatmentKind kind) {
    return kind == TreatmentKind::Treatments ? Section::Medicine : Section::Attitude;
}

std::vector<std::u16string_view> TreatmentLines::Lines(std::u16string_view section) {
    std::vector<std::u16string_view> lines;
    LinesInto(section, lines);
    return lines;
}

void TreatmentLines::LinesInto(std::u16string_view section,
                               std::vector<std::u16string_view>& lines) {
    lines.clear();
    size_t at = 0;
    while (at <= section.size()) {
        size_t end = section.find_first_of(u"\r\n", at);
        std::u16string_view line = section.substr(at, (end == npos ? section.size() : end) - at);
        while (!line.empty() && (line.front() == u'-' || IsBlank(line.front()))) {
            line.remove_prefix(1);
        }
        line = TrimRight(line);
        if (!line.empty()) lines.push_back(line);
        if (end == npos) break;
        at = end + 1;
    }
}

namespace {

// The three stop marks of the labels' words, made once per reading.
struct StopMarks {
    explicit StopMarks(const JournalWords& words)
        : oneTime(u"(" + words.oneTime + u")"), stop(u"(" + words.stop + u")") {}
    std::u16string oneTime;
    std::u16string stop;
};

std::optional<StopLine> ParseStop(std::u16string_view line, const StopMarks& marks) {
    auto find = [line](std::u16string_view mark) {
        return mark.size() > 2 ? line.find(mark, 1) : npos;
    };
    // Most lines hold no mark at all.
    if (line.find(u'(', 1) == npos) return std::nullopt;
    size_t oneTime = find(marks.oneTime);
    size_t lower = find(u"(stop)");
    size_t stop = find(marks.stop);
    StopLine result;
    size_t cut;
    if (oneTime != npos) {
        cut = oneTime;
        result.mark = StopLine::Mark::OneTime;
    } else if (lower != npos) {
        cut = lower;
        result.mark = StopLine::Mark::LowerCaseStop;
    } else if (stop != npos) {
        cut = stop;
        result.mark = StopLine::Mark::Stop;
    } else {
        return std::nullopt;
    }
    result.name = std::u16string(TrimRight(line.substr(0, cut)));
    if (result.name.empty()) return std::nullopt;
    return result;
}

}  // namespace

std::optional<StopLine> TreatmentLines::ParseStopLine(std::u16string_view line,
                                                      const JournalWords& words) {
    return ParseStop(line, StopMarks(words));
}

std::vector<TreatmentCourse> TreatmentLines::Read(std::u16string_view journal, TreatmentKind kind,
                                                  const JournalWords& words) {
    CourseMatcher matcher;
    const StopMarks marks(words);
    const std::u16string& stopMark = marks.stop;
    const std::u16string& oneTimeMark = marks.oneTime;
    std::vector<std::u16string_view> lines;
    for (const DayBlock& block : DayBlocks(journal)) {
        matcher.BeginDay(block.day);
        EachSection(block.entries, SectionOf(kind), [&](std::u16string_view section) {
            LinesInto(section, lines);
            for (std::u16string_view line : lines) {
                auto stop = ParseStop(line, marks);
                if (!stop) {
                    matcher.AddStart(line);
                    continue;
                }
                // Read as a treatment of its own, a line with a "Stop" or "One time" mark runs
                // on its day only, under the text before the first of them.
                size_t own = std::min(line.find(stopMark, 1), line.find(oneTimeMark, 1));
                if (own == npos) {
                    matcher.AddStop(*stop, line, false, kind);
                } else {
                    matcher.AddStop(*stop, TrimRight(line.substr(0, own)), true, kind);
                }
            }
        });
    }
    return matcher.Take();
}

}  // namespace pondrel
