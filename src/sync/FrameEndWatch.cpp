#include "sync/FrameEndWatch.h"

namespace pondrel {

size_t FrameEndWatch::Feed(std::u16string_view text) {
    size_t ends = 0;
    for (char16_t c : text) {
        ++m_tail;
        if (c == u'#') {
            m_matched = 1;
        } else if (m_matched == 1 && c == u'F') {
            m_matched = 2;
        } else if (m_matched == 2 && c == u'|') {
            ++ends;
            m_tail = 0;
            m_matched = 0;
        } else {
            m_matched = 0;
        }
    }
    return ends;
}

}  // namespace pondrel
