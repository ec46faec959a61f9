#include "documents/JournalIndex.h"

#include <algorithm>

namespace pondrel {

JournalIndex::JournalIndex(std::u16string_view text)
    : m_reader(text), m_blocks(m_reader.DayBlocks()) {
    int count = m_reader.ProblemCount();
    m_headers.reserve(static_cast<size_t>(count));
    for (int p = 0; p < count; ++p) {
        m_headers.push_back(m_reader.GetProblemHeader(p).value_or(ProblemHeader{}));
    }
}

const ProblemHeader& JournalIndex::Header(int problem) const {
    return m_headers.at(static_cast<size_t>(problem));
}

std::optional<JournalReader::Span> JournalIndex::Block(DayNumber day) const {
    auto it = std::lower_bound(
        m_blocks.begin(), m_blocks.end(), day,
        [](const JournalReader::DayBlock& block, DayNumber d) { return block.day < d; });
    if (it == m_blocks.end() || it->day != day) return std::nullopt;
    return it->span;
}

std::optional<Sections> JournalIndex::Entry(DayNumber day, int problem) const {
    auto block = Block(day);
    if (!block || !m_reader.FindEntry(*block, problem)) return std::nullopt;
    return m_reader.GetEntry(*block, problem);
}

}  // namespace pondrel
