#pragma once

// One line per connection event and refused frame on standard error, with the date and time.
// Never a password and never a patient's text: only names, codes, sizes and reasons.

#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

namespace pondrel::server {

class ServerLog {
public:
    explicit ServerLog(std::FILE* out = stderr) : m_out(out) {}
    void Line(std::string_view text);
    // Lines written so far (for tests).
    size_t Count() const { return m_count; }

private:
    std::mutex m_mutex;
    std::FILE* m_out;
    size_t m_count = 0;
};

// A user name or other text from the wire, made safe for one log line: control characters
// become "?", and it is cut after 64 characters.
std::string LogText(std::u16string_view text);

}  // namespace pondrel::server
