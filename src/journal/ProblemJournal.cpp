#include "journal/ProblemJournal.h"

#include <algorithm>

#include "platform/Text.h"

namespace pondrel {

namespace {

constexpr size_t npos = std::u16string::npos;

// The stored state code, or "A" when it is missing or a separator.
std::u16string CleanState(const std::optional<ProblemHeader>& stored) {
    if (!stored || stored->state.empty() || IsReservedCharacter(stored->state[0])) {
        return std::u16string(1, kStateActive);
    }
    return stored->state.substr(0, 1);
}

}  // namespace

std::u16string ProblemJournal::DefaultTitle(int problem) {
    return std::u16string(kDefaultTitlePrefix) + ToText(problem + 1);
}

ProblemJournal::HeaderWrite ProblemJournal::WriteHeader(int problem, const ProblemHeader& header) {
    JournalReader reader = Reader();
    std::u16string text = ProblemOpening(problem) + header.title + kJournalHeaderSep +
                          header.differentialDiagnosis + kJournalHeaderSep + header.state +
                          kJournalHeaderSep + header.redaction;
    if (auto span = reader.FindHeader(problem)) {
        // Replaced where it stands, found by its number so that no other problem's header is
        // ever overwritten, even in a head whose headers are out of order.
        std::u16string_view old(m_text.data() + span->begin, span->end - span->begin);
        if (old == text) return HeaderWrite::Unchanged;
        m_text.replace(span->begin, span->end - span->begin, text);
        return HeaderWrite::Written;
    }
    // A new header only for the first free number: a later one would leave a gap.
    if (problem > reader.ProblemCount()) return HeaderWrite::Refused;
    m_text.insert(reader.HeadEnd(), text);
    return HeaderWrite::Written;
}

ProblemJournal::HeaderWrite ProblemJournal::SetProblemHeader(
    int problem, std::u16string_view title, std::u16string_view differentialDiagnosis,
    std::u16string_view redaction) {
    if (problem < 0 || problem >= kMaxProblems) return HeaderWrite::Refused;
    JournalReader reader = Reader();
    std::optional<ProblemHeader> stored = reader.GetProblemHeader(problem);
    ProblemHeader header;
    header.title = CleanHeaderField(title);
    header.differentialDiagnosis = CleanHeaderField(differentialDiagnosis);
    header.redaction = CleanHeaderField(redaction);
    header.state = CleanState(stored);
    if (header.title.empty()) {
        if (!reader.GetProblemTitle(problem + 1).empty()) {
            header.title = DefaultTitle(problem);  // a problem in the middle keeps a title
        } else if (stored && !stored->title.empty()) {
            header.title = stored->title;  // the last problem keeps its stored title
        } else if (!header.differentialDiagnosis.empty() || !header.redaction.empty()) {
            header.title = DefaultTitle(problem);  // something typed into a free slot
        } else {
            return HeaderWrite::Unchanged;
        }
    }
    return WriteHeader(problem, header);
}

bool ProblemJournal::SetProblemState(int problem, char16_t state) {
    if (state != kStateActive && state != kStateSolved && state != kStateClosed) return false;
    std::optional<ProblemHeader> stored = Reader().GetProblemHeader(problem);
    if (!stored || stored->title.empty()) return false;
    ProblemHeader header{CleanHeaderField(stored->title),
                         CleanHeaderField(stored->differentialDiagnosis), std::u16string(1, state),
                         CleanHeaderField(stored->redaction)};
    return WriteHeader(problem, header) != HeaderWrite::Refused;
}

size_t ProblemJournal::NewBlockPosition(DayNumber day) const {
    size_t headEnd = Reader().HeadEnd();
    for (size_t at = headEnd; at < m_text.size(); at = m_text.find(kJournalDayMark, at + 1)) {
        if (at == npos) break;
        // The number is read as the digits after "#" (a leftover "#" reads as 0).
        std::u16string_view digits(m_text.data() + at + 1,
                                   std::min<size_t>(12, m_text.size() - at - 1));
        if (ParseInt(digits) > day) return at;
    }
    return m_text.size();
}

ProblemJournal::EntryWrite ProblemJournal::SetEntry(DayNumber day, int problem,
                                                    const Sections& sections) {
    EntryWrite result;
    if (problem < 0 || problem >= kMaxProblems || day < kFirstJournalDay || day > kLastJournalDay) {
        result.refused = true;
        return result;
    }
    Sections clean;
    bool allEmpty = true;
    for (size_t i = 0; i < clean.size(); ++i) {
        clean[i] = CleanSection(sections[i]);
        allEmpty = allEmpty && clean[i].empty();
    }
    if (allEmpty) {
        result.entryDeleted = DeleteEntry(day, problem);
        result.changed = result.entryDeleted;
        return result;
    }
    if (GetProblemTitle(problem).empty()) {
        std::optional<ProblemHeader> stored = Reader().GetProblemHeader(problem);
        ProblemHeader header{DefaultTitle(problem), {}, CleanState(stored), {}};
        if (stored) {
            header.differentialDiagnosis = CleanHeaderField(stored->differentialDiagnosis);
            header.redaction = CleanHeaderField(stored->redaction);
        }
        if (WriteHeader(problem, header) == HeaderWrite::Refused) {
            result.refused = true;
            return result;
        }
        result.titleCreated = true;
        result.changed = true;
    }

    std::u16string opening = DayBlockOpening(day);
    auto block = Reader().FindBlock(day);
    if (!block) {
        size_t at = NewBlockPosition(day);
        m_text.insert(at, opening);
        block = JournalReader::Span{at, at + opening.size()};
    }
    size_t mark = block->begin + opening.size() - 1;  // the block's own "§"
    auto entry = Reader().FindEntry(*block, problem);
    if (!entry) {
        std::u16string empty = ToText(problem) + u"|||||||";
        if (mark + 1 >= block->end) {
            m_text.insert(mark + 1, empty);
            result.dayBlockCreated = true;
        } else {
            // Walk the entries in order and insert before the first with a greater number.
            size_t at = mark;
            size_t insertAt = block->end;
            for (int step = 0; step < kMaxWalkSteps && at != npos && at < block->end; ++step) {
                std::u16string_view digits(m_text.data() + at + 1,
                                           std::min<size_t>(2, m_text.size() - at - 1));
                if (ParseInt(digits) > problem) {
                    insertAt = at;
                    break;
                }
                at = m_text.find(kJournalEntryMark, at + 1);
            }
            m_text.insert(insertAt, kJournalEntryMark + empty);
        }
        block = Reader().FindBlock(day);
        entry = Reader().FindEntry(*block, problem);
    }
    // Replace from the bar after the number through the seventh bar (or the end of a damaged
    // entry that has fewer).
    size_t first = m_text.find(kJournalFieldSep, entry->begin);
    size_t last = first;
    for (int bars = 1; bars < 7 && last != npos && last < entry->end; ++bars) {
        last = m_text.find(kJournalFieldSep, last + 1);
    }
    size_t replaceEnd = (last == npos || last >= entry->end) ? entry->end : last + 1;
    const std::u16string body = EntryBody(clean);
    std::u16string_view old(m_text.data() + first, replaceEnd - first);
    if (old != body) {
        m_text.replace(first, replaceEnd - first, body);
        result.changed = true;
    }
    return result;
}

bool ProblemJournal::DeleteEntry(DayNumber day, int problem) {
    JournalReader reader = Reader();
    std::u16string marker = kJournalDayMark + ToText(day);
    auto removeMarkerIfEmpty = [this, &marker](size_t at) {
        size_t after = at + marker.size();
        if (after >= m_text.size() || m_text[after] == kJournalDayMark) {
            m_text.erase(at, marker.size());
        }
    };
    auto block = reader.FindBlock(day);
    if (!block) {
        // A leftover marker without "§": "#day#" inside, or "#day" at the very end.
        size_t at = m_text.find(marker + kJournalDayMark, reader.HeadEnd());
        if (at == npos && m_text.size() >= marker.size() + reader.HeadEnd() &&
            std::u16string_view(m_text).substr(m_text.size() - marker.size()) == marker) {
            at = m_text.size() - marker.size();
        }
        if (at == npos) return false;
        m_text.erase(at, marker.size());
        return true;
    }
    size_t mark = block->begin + marker.size();
    if (mark + 1 >= block->end) {
        // A block without any entry: its marker goes.
        m_text.erase(block->begin, block->end - block->begin);
        return true;
    }
    auto entry = reader.FindEntry(*block, problem);
    if (!entry) return false;
    m_text.erase(entry->begin, entry->end - entry->begin);
    removeMarkerIfEmpty(block->begin);
    return true;
}

}  // namespace pondrel
