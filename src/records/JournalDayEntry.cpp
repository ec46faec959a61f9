#include "records/JournalDayEntry.h"

#include "platform/Text.h"
#include "records/ItemEncoding.h"

namespace pondrel {

namespace {

constexpr size_t kNone = std::u16string::npos;
constexpr int kMaxEntriesWalked = 100;

// The decimal number made of the digits at `pos` (at most `maxDigits`); -1 without a digit.
long long DigitsAt(std::u16string_view text, size_t pos, size_t maxDigits) {
    long long value = -1;
    for (size_t i = pos; i < text.size() && i < pos + maxDigits; ++i) {
        if (text[i] < u'0' || text[i] > u'9') break;
        value = (value < 0 ? 0 : value) * 10 + (text[i] - u'0');
    }
    return value;
}

size_t FirstOf(const std::u16string& text, size_t from) {
    size_t hash = text.find(u'#', from);
    size_t mark = text.find(kProblemMark, from);
    return std::min(hash == kNone ? text.size() : hash, mark == kNone ? text.size() : mark);
}

}  // namespace

bool SetJournalDayEntry(std::u16string& journal, DayNumber day, int problem,
                        const JournalSections& sections) {
    JournalSections clean;
    bool allEmpty = true;
    for (size_t i = 0; i < sections.size(); ++i) {
        for (char16_t c : sections[i]) {
            if (c != u'#' && c != kProblemMark && c != u'|') clean[i] += c;
        }
        if (!clean[i].empty()) allEmpty = false;
    }
    if (allEmpty) return false;

    const std::u16string number = ToText(problem);
    const std::u16string blockMark = u"#" + ToText(day) + kProblemMark;
    size_t block = journal.find(blockMark);
    if (block == kNone) {
        size_t insertAt = journal.size();
        for (size_t pos = journal.find(u'#'); pos != kNone; pos = journal.find(u'#', pos + 1)) {
            long long other = DigitsAt(journal, pos + 1, 18);
            if (other > day) {
                insertAt = pos;
                break;
            }
        }
        journal.insert(insertAt, blockMark);
        block = insertAt;
    }
    const size_t blockMarkEnd = block + blockMark.size();  // after the block's "§"
    size_t blockEnd = journal.find(u'#', block + 1);
    if (blockEnd == kNone) blockEnd = journal.size();

    // The entry's "§" (the block's own "§" for its first entry).
    const std::u16string entryMark = kProblemMark + number + u"|";
    size_t entry = journal.find(entryMark, blockMarkEnd - 1);
    if (entry == kNone || entry >= blockEnd) {
        const std::u16string empty = number + u"|||||||";
        if (blockMarkEnd == blockEnd) {
            journal.insert(blockMarkEnd, empty);
            entry = blockMarkEnd - 1;
        } else {
            size_t insertAt = blockEnd;
            size_t pos = blockMarkEnd - 1;
            for (int walked = 0; walked < kMaxEntriesWalked && pos != kNone && pos < blockEnd;
                 ++walked) {
                if (DigitsAt(journal, pos + 1, 2) > problem) {
                    insertAt = pos;
                    break;
                }
                pos = journal.find(kProblemMark, pos + 1);
            }
            journal.insert(insertAt, kProblemMark + empty);
            entry = insertAt;
        }
    }

    // Replace from the bar after the number through the seventh bar.
    const size_t firstBar = entry + entryMark.size() - 1;
    const size_t entryEnd = FirstOf(journal, entry + 1);
    size_t replaceEnd = entryEnd;
    size_t bar = firstBar;
    for (int i = 1; i < 7 && bar != kNone; ++i) {
        bar = journal.find(u'|', bar + 1);
        if (bar == kNone || bar >= entryEnd) bar = kNone;
    }
    if (bar != kNone) replaceEnd = bar + 1;
    std::u16string replacement = u"|";
    for (const auto& section : clean) replacement += section + u"|";
    journal.replace(firstBar, replaceEnd - firstBar, replacement);
    return true;
}

}  // namespace pondrel
