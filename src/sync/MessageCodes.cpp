#include "sync/MessageCodes.h"

#include "platform/Clock.h"
#include "platform/Text.h"

namespace pondrel {

MessageCodes::MessageCodes(Clock& clock)
    : MessageCodes(clock, static_cast<uint32_t>(clock.TickCount() ^ std::random_device{}())) {}

MessageCodes::MessageCodes(Clock& clock, uint32_t seed) : m_clock(clock), m_random(seed) {}

std::u16string MessageCodes::NewCode(size_t length) {
    std::uniform_int_distribution<int> draw(0, 999);
    int n = 0;
    do {
        n = draw(m_random);
    } while (n == m_last || m_history.find(u"|" + ToText(n) + u"|") != std::u16string::npos);
    m_history += ToText(n) + u"|";
    if (m_history.size() > kMaxHistoryChars) {
        // Forget the oldest numbers, whole.
        size_t cut = m_history.find(u'|', 100);
        m_history = u"|" + (cut == std::u16string::npos ? u"" : m_history.substr(cut + 1));
    }
    m_last = n;
    return ToText(static_cast<long long>(length)) + u"|" + ToText(n) +
           ToText(static_cast<long long>(m_clock.TickCount() % 100));
}

}  // namespace pondrel
