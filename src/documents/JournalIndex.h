#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/JournalReader.h"

namespace pondrel {

// Read access to one journal for a summary that looks up many days and problems: the day blocks
// are found in one pass and the problem headers read once, so a grid of a year of days by a
// hundred problems costs one walk over the text rather than one per cell.
class JournalIndex {
public:
    // `text` must stay alive and unchanged while the index is used.
    explicit JournalIndex(std::u16string_view text);

    const JournalReader& Reader() const { return m_reader; }
    int ProblemCount() const { return static_cast<int>(m_headers.size()); }
    // Header of problem p (0 .. ProblemCount() - 1).
    const ProblemHeader& Header(int problem) const;

    // The entry of the problem on that day, if there is one.
    std::optional<Sections> Entry(DayNumber day, int problem) const;

private:
    using BlockEntries = std::vector<JournalReader::BlockEntry>;
    const BlockEntries* EntriesOf(DayNumber day) const;

    JournalReader m_reader;
    std::vector<JournalReader::DayBlock> m_blocks;
    // Filled the first time a block is looked into.
    mutable std::vector<std::optional<BlockEntries>> m_entries;
    std::vector<ProblemHeader> m_headers;
};

}  // namespace pondrel
