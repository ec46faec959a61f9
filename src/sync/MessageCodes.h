#pragma once

// Message codes of mail and file transmissions: "L|R", L the number of characters of the text the
// code belongs to, R a random number (drawn from 0 to 999 and not among the recent ones,
// followed by the milliseconds since start modulo 100). The receiver checks L against the text
// it got; both sides find a transmission's reports by its code.

#include <cstdint>
#include <random>
#include <string>

namespace pondrel {

class Clock;

class MessageCodes {
public:
    static constexpr size_t kMaxHistoryChars = 500;

    // `clock` must outlive the codes; `seed` fixes the random draws (for tests).
    explicit MessageCodes(Clock& clock);
    MessageCodes(Clock& clock, uint32_t seed);

    // A new code for a text of `length` characters.
    std::u16string NewCode(size_t length);

private:
    Clock& m_clock;
    std::mt19937 m_random;
    std::u16string m_history = u"|";  // the recent numbers, each followed by "|"
    int m_last = -1;
};

}  // namespace pondrel
