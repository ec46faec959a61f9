#include "documents/JournalIndex.h"

#include <algorithm>

namespace pondrel {

JournalIndex::JournalIndex(std::u16string_view text)
    : m_reader(text), m_blocks(m_reader.DayBlocks()), m_entries(m_blocks.size()) {
    int count = m_reader.ProblemCount();
    m_headers.reserve(static_cast<size_t>(count));
    for (int p = 0; p < count; ++p) {
        m_headers.push_back(m_reader.GetProblemHeader(p).value_or(ProblemHeader{}));
    }
}

const ProblemHeader& JournalIndex::Header(int problem) const {
    return m_headers.at(static_cast<size_t>(problem));
}

const JournalIndex::BlockEntries* JournalIndex::EntriesOf(DayNumber day) const {
    auto it = std::lower_bound(
        m_blocks.begin(), m_blocks.end(), day,
        [](const JournalReader::DayBlock& block, DayNumber d) { return block.day < d; });
    if (it == m_blocks.end() || it->day != day) return nullptr;
    std::optional<BlockEntries>& entries = m_entries[static_cast<size_t>(it - m_blocks.begin())];
    if (!entries) entries = m_reader.BlockEntries(it->span);
    return &*entries;
}

std::optional<Sections> JournalIndex::Entry(DayNumber day, int problem) const {
    const BlockEntries* entries = EntriesOf(day);
    if (!entries) return std::nullopt;
    for (const JournalReader::BlockEntry& entry : *entries) {
        if (entry.problem == problem) return m_reader.EntrySections(entry.span);
    }
    return std::nullopt;
}

}  // namespace pondrel
