#pragma once

// Read access to a problem journal text: problem headers, day blocks and problem entries.
// Missing structure is never an error: a missing header, block or entry reads as empty text
// and a missing state as "A". Nothing here allocates more than the text it returns.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/JournalFormat.h"
#include "records/DayNumber.h"

namespace pondrel {

struct Error;
struct JournalWords;

// The four sub-fields of a problem header.
struct ProblemHeader {
    std::u16string title;
    std::u16string differentialDiagnosis;
    std::u16string state;  // one character; "A" when the stored code is missing or empty
    std::u16string redaction;
};

class JournalReader {
public:
    // A half-open range [begin, end) of the text.
    struct Span {
        size_t begin = 0;
        size_t end = 0;
    };

    // `text` must stay alive and unchanged while the reader is used.
    explicit JournalReader(std::u16string_view text);

    std::u16string GetProblemTitle(int problem) const;
    std::u16string GetDifferentialDiagnosis(int problem) const;
    std::u16string GetProblemState(int problem) const;
    std::u16string GetProblemRedaction(int problem) const;
    // All four sub-fields; none when the head holds no header of the problem.
    std::optional<ProblemHeader> GetProblemHeader(int problem) const;

    // The six sections of the problem's entry on that day; six empty texts when absent.
    Sections GetEntry(DayNumber day, int problem) const;
    // The stored entry text after "<problem>|", up to the next "§" or "#"; none when absent.
    std::optional<std::u16string_view> GetEntryText(DayNumber day, int problem) const;
    std::u16string GetSection(DayNumber day, int problem, int section) const;
    bool DayHasEntries(DayNumber day) const;

    // The smallest problem number whose title is empty, or 100.
    int ProblemCount() const;
    // The days that have a day block, ascending and without repeats.
    std::vector<DayNumber> EntryDays() const;
    // The day blocks as FindBlock finds them (the first block of each day), ascending by day:
    // one pass over the text, for readers that look up many days.
    struct DayBlock {
        DayNumber day = 0;
        Span span;
    };
    std::vector<DayBlock> DayBlocks() const;
    // The six sections of the problem's entry inside `block`; six empty texts when absent.
    Sections GetEntry(Span block, int problem) const;
    // The entries of a block in one pass: each problem's first entry (the one FindEntry finds),
    // in the order they stand.
    struct BlockEntry {
        int problem = 0;
        Span span;
    };
    std::vector<BlockEntry> BlockEntries(Span block) const;
    // The six sections of an entry as FindEntry or BlockEntries gives it.
    Sections EntrySections(Span entry) const;
    // First and last day on which the problem has an entry; none without entries.
    std::optional<std::pair<DayNumber, DayNumber>> ProblemSpan(int problem) const;
    // "" without any day block, "(Empty)" without entries, else "Start 3 Mar 06" when active or
    // "3 Mar 06 - 14 Mar 06".
    std::u16string ProblemSpanText(int problem, bool active, const JournalWords& words) const;

    // Locating, for the writers. Positions are indexes into the text.
    // Position of the first "#" (the end of the head), or the text size.
    size_t HeadEnd() const { return m_headEnd; }
    // The header of the problem: from its "§" to the next "§" or the end of the head.
    std::optional<Span> FindHeader(int problem) const;
    // The block of the day: from its "#" to the next "#" or the end of the text.
    std::optional<Span> FindBlock(DayNumber day) const;
    // The entry of the problem inside `block`: from its "§" (the block's own "§" for the first
    // entry) to the next "§" or the end of the block.
    std::optional<Span> FindEntry(Span block, int problem) const;

    // True when the text has the exact shape the writers produce: headers numbered 0, 1, 2...
    // with four sub-fields, blocks in ascending day order each holding at least one entry,
    // entries in ascending problem order with six sections, and no "¢" or "¬". The error names
    // the first place that differs. Journals from older files may fail this and still read.
    bool CheckStructure(Error* error) const;

private:
    std::optional<std::u16string_view> HeaderText(int problem) const;

    std::u16string_view m_text;
    size_t m_headEnd;
};

// "#" + day + "§", the opening of a day block.
std::u16string DayBlockOpening(DayNumber day);
// "§" + problem + "|", the opening of a header or an entry.
std::u16string ProblemOpening(int problem);

}  // namespace pondrel
