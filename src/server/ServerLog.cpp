#include "server/ServerLog.h"

#include <ctime>

#include "platform/Text.h"

namespace pondrel::server {

void ServerLog::Line(std::string_view text) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    std::lock_guard lock(m_mutex);
    std::fprintf(m_out, "%s %.*s\n", stamp, static_cast<int>(text.size()), text.data());
    std::fflush(m_out);
    ++m_count;
}

std::string LogText(std::u16string_view text) {
    std::u16string safe(text.substr(0, 64));
    for (char16_t& c : safe) {
        if (c < 0x20 || c == 0x7F) c = u'?';
    }
    if (text.size() > 64) safe += u"...";
    return ToUtf8(safe);
}

}  // namespace pondrel::server
