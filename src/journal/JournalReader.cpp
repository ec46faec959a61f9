#include "journal/JournalReader.h"

#include <algorithm>
#include <array>

#include "journal/JournalDays.h"
#include "journal/JournalWords.h"
#include "platform/Error.h"
#include "platform/Text.h"

namespace pondrel {

namespace {

constexpr size_t npos = std::u16string_view::npos;

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// True when `digits` is the canonical decimal text of a day number (optional "-", no leading
// zero), the form the writers use.
bool IsDayText(std::u16string_view digits) {
    if (!digits.empty() && digits[0] == u'-') digits.remove_prefix(1);
    if (digits.empty() || digits.size() > 10) return false;
    if (!std::all_of(digits.begin(), digits.end(), IsDigit)) return false;
    return digits.size() == 1 || digits[0] != u'0';
}

// Splits `text` at `separator` into exactly `count` parts; the last part takes the rest up to
// the next separator, missing parts are empty.
template <size_t N>
std::array<std::u16string, N> SplitFixed(std::u16string_view text, char16_t separator) {
    std::array<std::u16string, N> parts;
    size_t pos = 0;
    for (size_t i = 0; i < N && pos <= text.size(); ++i) {
        size_t hit = text.find(separator, pos);
        if (hit == npos) {
            parts[i] = std::u16string(text.substr(pos));
            break;
        }
        parts[i] = std::u16string(text.substr(pos, hit - pos));
        pos = hit + 1;
    }
    return parts;
}

bool IsProblemText(std::u16string_view digits) {
    if (digits.empty() || digits.size() > 2) return false;
    if (!std::all_of(digits.begin(), digits.end(), IsDigit)) return false;
    return digits.size() == 1 || digits[0] != u'0';
}

std::u16string UpperFirst(std::u16string text) {
    if (!text.empty()) text[0] = UpperCase(text[0]);
    return text;
}

std::string Where(size_t position) {
    return "journal position " + std::to_string(position) + ": ";
}

}  // namespace

JournalReader::JournalReader(std::u16string_view text)
    : m_text(text), m_headEnd(std::min(text.find(kJournalDayMark), text.size())) {}

std::optional<JournalReader::Span> JournalReader::FindHeader(int problem) const {
    if (problem < 0 || problem >= kMaxProblems) return std::nullopt;
    std::u16string_view head = m_text.substr(0, m_headEnd);
    size_t at = head.find(ProblemOpening(problem));
    if (at == npos) return std::nullopt;
    size_t end = head.find(kJournalEntryMark, at + 1);
    return Span{at, end == npos ? m_headEnd : end};
}

std::optional<std::u16string_view> JournalReader::HeaderText(int problem) const {
    auto span = FindHeader(problem);
    if (!span) return std::nullopt;
    size_t start = m_text.find(kJournalFieldSep, span->begin) + 1;
    return m_text.substr(start, span->end - start);
}

std::optional<ProblemHeader> JournalReader::GetProblemHeader(int problem) const {
    auto text = HeaderText(problem);
    if (!text) return std::nullopt;
    ProblemHeader header;
    size_t first = text->find(kJournalHeaderSep);
    header.title = std::u16string(text->substr(0, first));
    if (first != npos) {
        size_t second = text->find(kJournalHeaderSep, first + 1);
        header.differentialDiagnosis = std::u16string(text->substr(first + 1, second - first - 1));
        if (second != npos) {
            if (second + 1 < text->size() && (*text)[second + 1] != kJournalHeaderSep) {
                header.state = std::u16string(1, (*text)[second + 1]);
            }
            size_t third = text->find(kJournalHeaderSep, second + 1);
            if (third != npos) header.redaction = std::u16string(text->substr(third + 1));
        }
    }
    if (header.state.empty()) header.state = std::u16string(1, kStateActive);
    return header;
}

std::u16string JournalReader::GetProblemTitle(int problem) const {
    auto text = HeaderText(problem);
    if (!text) return {};
    return std::u16string(text->substr(0, text->find(kJournalHeaderSep)));
}

std::u16string JournalReader::GetDifferentialDiagnosis(int problem) const {
    auto header = GetProblemHeader(problem);
    return header ? header->differentialDiagnosis : std::u16string();
}

std::u16string JournalReader::GetProblemState(int problem) const {
    auto header = GetProblemHeader(problem);
    return header ? header->state : std::u16string(1, kStateActive);
}

std::u16string JournalReader::GetProblemRedaction(int problem) const {
    auto header = GetProblemHeader(problem);
    return header ? header->redaction : std::u16string();
}

std::optional<JournalReader::Span> JournalReader::FindBlock(DayNumber day) const {
    size_t at = m_text.find(DayBlockOpening(day), m_headEnd);
    if (at == npos) return std::nullopt;
    size_t end = m_text.find(kJournalDayMark, at + 1);
    return Span{at, end == npos ? m_text.size() : end};
}

std::optional<JournalReader::Span> JournalReader::FindEntry(Span block, int problem) const {
    if (problem < 0 || problem >= kMaxProblems) return std::nullopt;
    std::u16string_view inside = m_text.substr(block.begin, block.end - block.begin);
    size_t at = inside.find(ProblemOpening(problem));
    if (at == npos) return std::nullopt;
    size_t end = inside.find(kJournalEntryMark, at + 1);
    return Span{block.begin + at, end == npos ? block.end : block.begin + end};
}

std::optional<std::u16string_view> JournalReader::GetEntryText(DayNumber day, int problem) const {
    auto block = FindBlock(day);
    if (!block) return std::nullopt;
    auto entry = FindEntry(*block, problem);
    if (!entry) return std::nullopt;
    size_t start = m_text.find(kJournalFieldSep, entry->begin) + 1;
    return m_text.substr(start, entry->end - start);
}

Sections JournalReader::GetEntry(DayNumber day, int problem) const {
    auto text = GetEntryText(day, problem);
    if (!text) return {};
    return SplitFixed<kSectionCount>(*text, kJournalFieldSep);
}

std::u16string JournalReader::GetSection(DayNumber day, int problem, int section) const {
    if (section < 0 || section >= kSectionCount) return {};
    return GetEntry(day, problem)[static_cast<size_t>(section)];
}

bool JournalReader::DayHasEntries(DayNumber day) const {
    auto block = FindBlock(day);
    if (!block) return false;
    size_t after = block->begin + DayBlockOpening(day).size();
    return after < m_text.size() && m_text[after] != kJournalDayMark;
}

int JournalReader::ProblemCount() const {
    // One pass over the head: the first header of each number, as a search for "§n|" finds it.
    // Each "§" is judged by the few characters after it, so a run of "§" is walked once.
    std::array<bool, kMaxProblems> titled{};
    std::array<bool, kMaxProblems> seen{};
    std::u16string_view head = m_text.substr(0, m_headEnd);
    for (size_t at = head.find(kJournalEntryMark); at != npos;
         at = head.find(kJournalEntryMark, at + 1)) {
        size_t bar = at + 1;
        while (bar < head.size() && bar <= at + 3 && IsDigit(head[bar])) ++bar;
        if (bar >= head.size() || head[bar] != kJournalFieldSep) continue;
        std::u16string_view number = head.substr(at + 1, bar - at - 1);
        if (!IsProblemText(number)) continue;
        size_t p = static_cast<size_t>(ParseInt(number));
        if (seen[p]) continue;
        seen[p] = true;
        titled[p] = bar + 1 < head.size() && head[bar + 1] != kJournalHeaderSep &&
                    head[bar + 1] != kJournalEntryMark;
    }
    int count = 0;
    while (count < kMaxProblems && titled[static_cast<size_t>(count)]) ++count;
    return count;
}

std::vector<JournalReader::DayBlock> JournalReader::DayBlocks() const {
    std::vector<DayBlock> blocks;
    size_t at = m_text.find(kJournalDayMark, m_headEnd);
    size_t mark = npos;  // the first "§" after `at`, found again only once `at` passed it
    bool markKnown = false;
    while (at != npos) {
        const size_t next = m_text.find(kJournalDayMark, at + 1);
        if (!markKnown || (mark != npos && mark <= at)) {
            mark = m_text.find(kJournalEntryMark, at + 1);
            markKnown = true;
        }
        // A "#" whose next "#" comes before its "§" is a leftover marker: skipped, as is a
        // number that is not one.
        if (mark != npos && (next == npos || mark < next)) {
            std::u16string_view number = m_text.substr(at + 1, mark - at - 1);
            if (IsDayText(number)) {
                DayNumber day = ParseInt(number);
                if (day >= kFirstJournalDay && day <= kLastJournalDay) {
                    const size_t end = next == npos ? m_text.size() : next;
                    blocks.push_back({day, Span{at, end}, mark + 1 < end});
                }
            }
        }
        at = next;
    }
    // Written journals are in order already; an edited or damaged one is put in order here so
    // that every search over the days stays sound. Of two blocks of one day the first counts.
    auto byDay = [](const DayBlock& a, const DayBlock& b) { return a.day < b.day; };
    if (!std::is_sorted(blocks.begin(), blocks.end(), byDay)) {
        std::stable_sort(blocks.begin(), blocks.end(), byDay);
    }
    blocks.erase(std::unique(blocks.begin(), blocks.end(),
                             [](const DayBlock& a, const DayBlock& b) { return a.day == b.day; }),
                 blocks.end());
    return blocks;
}

std::vector<DayNumber> JournalReader::EntryDays() const {
    std::vector<DayNumber> days;
    for (const DayBlock& block : DayBlocks()) days.push_back(block.day);
    return days;
}

std::vector<DayNumber> JournalReader::DaysWithEntries() const {
    std::vector<DayNumber> days;
    for (const DayBlock& block : DayBlocks()) {
        if (block.hasEntries) days.push_back(block.day);
    }
    return days;
}

Sections JournalReader::GetEntry(Span block, int problem) const {
    auto entry = FindEntry(block, problem);
    return entry ? EntrySections(*entry) : Sections{};
}

Sections JournalReader::EntrySections(Span entry) const {
    size_t start = m_text.find(kJournalFieldSep, entry.begin) + 1;
    if (start == 0 || start > entry.end) return {};
    return SplitFixed<kSectionCount>(m_text.substr(start, entry.end - start), kJournalFieldSep);
}

std::vector<JournalReader::BlockEntry> JournalReader::BlockEntries(Span block) const {
    std::vector<BlockEntry> entries;
    std::array<bool, kMaxProblems> seen{};
    std::u16string_view inside = m_text.substr(block.begin, block.end - block.begin);
    // Each "§" opens an entry: its number, then "|" (the number FindEntry looks for).
    // The "|" is looked for inside the entry only, so a block of bare "§" is walked once.
    for (size_t at = inside.find(kJournalEntryMark); at != npos;) {
        const size_t next = inside.find(kJournalEntryMark, at + 1);
        const size_t end = next == npos ? inside.size() : next;
        std::u16string_view entry = inside.substr(at + 1, end - at - 1);
        const size_t bar = entry.find(kJournalFieldSep);
        if (bar != npos && IsProblemText(entry.substr(0, bar))) {
            int problem = ParseInt(entry.substr(0, bar));
            if (!seen[static_cast<size_t>(problem)]) {
                seen[static_cast<size_t>(problem)] = true;
                entries.push_back({problem, Span{block.begin + at, block.begin + end}});
            }
        }
        at = next;
    }
    return entries;
}

std::optional<std::pair<DayNumber, DayNumber>> JournalReader::ProblemSpan(int problem) const {
    if (problem < 0 || problem >= kMaxProblems || m_headEnd >= m_text.size()) return std::nullopt;
    std::u16string opening = ProblemOpening(problem);
    size_t first = m_text.find(opening, m_headEnd);
    if (first == npos) return std::nullopt;
    size_t last = m_text.rfind(opening);
    auto dayOf = [this](size_t at) {
        size_t hash = m_text.rfind(kJournalDayMark, at);
        size_t mark = m_text.find(kJournalEntryMark, hash + 1);
        return ParseInt(m_text.substr(hash + 1, mark - hash - 1));
    };
    return std::make_pair(dayOf(first), dayOf(last));
}

std::u16string JournalReader::ProblemSpanText(int problem, bool active,
                                              const JournalWords& words) const {
    if (m_headEnd >= m_text.size()) return {};
    auto span = ProblemSpan(problem);
    if (!span) return u"(" + words.empty + u")";
    if (active) {
        return UpperFirst(words.start) + u" " + ShortDayText(span->first, words);
    }
    return ShortDayText(span->first, words) + u" - " + ShortDayText(span->second, words);
}

bool JournalReader::CheckStructure(Error* error) const {
    auto fail = [error](size_t at, const std::string& what) {
        Error::Set(error, ErrorKind::Damaged, Where(at) + what);
        return false;
    };
    for (size_t i = 0; i < m_text.size(); ++i) {
        if (m_text[i] == kJournalItemEnd || m_text[i] == kJournalBlockMark) {
            return fail(i, "reserved file separator");
        }
    }
    // Head: "§0|...", "§1|...", each with four sub-fields and a state code.
    std::u16string_view head = m_text.substr(0, m_headEnd);
    if (!head.empty() && head[0] != kJournalEntryMark)
        return fail(0, "head does not start with a header");
    int expected = 0;
    for (size_t at = 0; at < head.size(); ++expected) {
        size_t end = std::min(head.find(kJournalEntryMark, at + 1), head.size());
        std::u16string_view header = head.substr(at + 1, end - at - 1);
        size_t bar = header.find(kJournalFieldSep);
        if (bar == npos || header.substr(0, bar) != ToText(expected)) {
            return fail(at, "header " + std::to_string(expected) + " expected");
        }
        auto parts = Split(header.substr(bar + 1), kJournalHeaderSep);
        if (parts.size() != 4 || header.find(kJournalFieldSep, bar + 1) != npos) {
            return fail(at, "header needs four sub-fields");
        }
        if (parts[0].empty()) return fail(at, "header without title");
        if (parts[2] != u"A" && parts[2] != u"I" && parts[2] != u"C") return fail(at, "bad state");
        at = end;
    }
    if (expected > kMaxProblems) return fail(0, "more than 100 headers");
    int count = ProblemCount();
    // Day blocks: ascending days, at least one entry each, entries in ascending order.
    bool first = true;
    DayNumber previousDay = 0;
    for (size_t at = m_headEnd; at < m_text.size();) {
        size_t end = std::min(m_text.find(kJournalDayMark, at + 1), m_text.size());
        std::u16string_view block = m_text.substr(at + 1, end - at - 1);
        size_t mark = block.find(kJournalEntryMark);
        if (mark == npos || !IsDayText(block.substr(0, mark))) return fail(at, "bad block opening");
        DayNumber day = ParseInt(block.substr(0, mark));
        if (!first && day <= previousDay) return fail(at, "blocks out of day order");
        first = false;
        previousDay = day;
        if (mark + 1 >= block.size()) return fail(at, "empty day block");
        int previousProblem = -1;
        for (const auto& entry : Split(block.substr(mark + 1), kJournalEntryMark)) {
            auto parts = Split(entry, kJournalFieldSep);
            if (parts.size() != 8 || !parts[7].empty() || !IsProblemText(parts[0])) {
                return fail(at, "entry needs a number and six sections");
            }
            int problem = ParseInt(parts[0]);
            if (problem <= previousProblem) return fail(at, "entries out of problem order");
            if (problem >= count) return fail(at, "entry of a problem without title");
            previousProblem = problem;
            if (std::all_of(parts.begin() + 1, parts.end(),
                            [](const auto& s) { return s.empty(); })) {
                return fail(at, "entry without text");
            }
        }
        at = end;
    }
    return true;
}

}  // namespace pondrel
