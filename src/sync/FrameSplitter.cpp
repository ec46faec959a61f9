#include "sync/FrameSplitter.h"

namespace pondrel {

bool FrameSplitter::Append(std::u16string_view text) {
    if (m_overflowed) return false;
    if (m_start > 0 && m_start * 2 >= m_text.size()) {
        m_text.erase(0, m_start);
        m_tailStart -= m_start;
        m_start = 0;
    }
    size_t from =
        m_text.size() >= kFrameEnd.size() - 1 ? m_text.size() - (kFrameEnd.size() - 1) : 0;
    if (from < m_tailStart) from = m_tailStart;
    m_text.append(text);
    size_t last = std::u16string_view(m_text).substr(from).rfind(kFrameEnd);
    if (last != std::u16string_view::npos) m_tailStart = from + last + kFrameEnd.size();
    if (m_text.size() - m_tailStart > m_max) m_overflowed = true;
    return !m_overflowed;
}

std::optional<std::u16string> FrameSplitter::Next() {
    if (m_overflowed) return std::nullopt;
    size_t end = m_text.find(kFrameEnd, m_start);
    if (end == std::u16string::npos || end >= m_tailStart) return std::nullopt;
    if (end - m_start > m_max) {
        m_overflowed = true;
        return std::nullopt;
    }
    std::u16string frame = m_text.substr(m_start, end - m_start);
    m_start = end + kFrameEnd.size();
    if (m_start == m_text.size()) Clear();
    return frame;
}

void FrameSplitter::ReleaseRoom(size_t keptChars) {
    if (m_text.capacity() <= keptChars || PendingChars() > keptChars) return;
    std::u16string kept = m_text.substr(m_start);
    m_tailStart -= m_start;
    m_start = 0;
    m_text.swap(kept);
}

void FrameSplitter::Clear() {
    m_text.clear();
    m_start = 0;
    m_tailStart = 0;
}

}  // namespace pondrel
