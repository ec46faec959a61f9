#include "records/Version300Conversion.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/Text.h"
#include "records/DayNumber.h"
#include "records/ItemEncoding.h"
#include "records/JournalDayBlocks.h"
#include "records/JournalFormat.h"
#include "records/PatientFileFormat.h"
#include "records/SubstringIndex.h"

// Every step below looks at each character of the text a bounded number of times: searches are
// kept inside the block, header or entry they belong to, and no journal text is rewritten per
// entry. A damaged or crafted file therefore converts in time proportional to its size.

namespace pondrel {

namespace {

constexpr size_t kNone = std::u16string::npos;
constexpr int kIdentityItems = 22;            // 20 identity fields, the sex and the location item
constexpr long long kLastStayDay = 10000000;  // later days are not of a real stay

struct Block {
    size_t begin;         // its "¬H"
    size_t end;           // the next block, or the end of the text
    size_t optionsBegin;  // after its "¬O" (kNone without one)
    size_t optionsEnd;    // its "¬E", or the end of the block
};

// The position of `what` inside [from, limit) of `text`, or kNone.
size_t FindIn(std::u16string_view text, std::u16string_view what, size_t from, size_t limit) {
    if (from >= limit) return kNone;
    size_t at = text.substr(from, limit - from).find(what);
    return at == kNone ? kNone : from + at;
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

int DigitsAt(std::u16string_view text, size_t pos, size_t maxDigits) {
    int value = -1;
    for (size_t i = pos; i < text.size() && i < pos + maxDigits; ++i) {
        if (!IsDigit(text[i])) break;
        value = (value < 0 ? 0 : value) * 10 + (text[i] - u'0');
    }
    return value;
}

std::vector<Block> FindBlocks(std::u16string_view text, size_t from) {
    std::vector<Block> blocks;
    for (size_t pos = text.find(kBlockMarkH, from); pos != kNone;) {
        size_t next = text.find(kBlockMarkH, pos + kBlockMarkH.size());
        Block block{pos, next == kNone ? text.size() : next, kNone, kNone};
        size_t options = FindIn(text, kOptionsMark, pos, block.end);
        if (options != kNone) {
            block.optionsBegin = options + kOptionsMark.size();
            size_t end = FindIn(text, kBlockEndMark, block.optionsBegin, block.end);
            block.optionsEnd = end == kNone ? block.end : end;
        }
        blocks.push_back(block);
        pos = next;
    }
    return blocks;
}

// One folder journal built from the journals of the subfolders.
class JournalMerger {
public:
    void Add(std::u16string_view journal, DayNumber admissionDay) {
        const size_t firstDay = journal.find(kJournalDayMark);
        std::u16string_view head = journal.substr(0, firstDay);
        std::u16string_view days =
            firstDay == kNone ? std::u16string_view() : journal.substr(firstDay);

        // Each header sends the entries written under its number to a folder problem.
        std::vector<std::pair<int, int>> copies;  // (number in this journal, folder problem)
        for (size_t mark = head.find(kJournalEntryMark); mark != kNone;) {
            const size_t next = head.find(kJournalEntryMark, mark + 1);
            const size_t end = next == kNone ? head.size() : next;
            const int number = DigitsAt(head, mark + 1, 2);
            const size_t bar = FindIn(head, u"|", mark, end);
            if (number >= 0 && bar != kNone) {
                int problem = ProblemFor(head.substr(bar + 1, end - bar - 1));
                if (problem >= 0) copies.emplace_back(number, problem);
            }
            mark = next;
        }
        // A copy that is made again later changes nothing the later one does not redo: only
        // the last copy of each number into each problem is made.
        std::vector<bool> later(static_cast<size_t>(kMaxProblems * kMaxProblems));
        std::vector<std::pair<int, int>> kept;
        for (auto it = copies.rbegin(); it != copies.rend(); ++it) {
            auto index = static_cast<size_t>(it->first * kMaxProblems + it->second);
            if (later[index]) continue;
            later[index] = true;
            kept.push_back(*it);
        }
        if (kept.empty()) return;
        std::reverse(kept.begin(), kept.end());

        const auto entries = IndexJournalEntries(days);
        for (const auto& [number, problem] : kept) {
            for (const IndexedEntry& entry : entries[static_cast<size_t>(number)]) {
                long long day = static_cast<long long>(admissionDay) + entry.day;
                // Not a day of a real stay; days before 2000 are negative and kept.
                if (day < kFirstJournalDay || day > kLastStayDay) continue;
                m_days.Set(static_cast<DayNumber>(day), problem, entry.sections);
            }
        }
    }

    // The journal as a file item can hold it.
    std::u16string Journal() const { return StorableText(m_head + m_days.Text()); }

private:
    // The number of the folder problem a subfolder header belongs to: the first folder problem
    // whose title holds this one, else a new problem. -1 when all 100 numbers are taken.
    int ProblemFor(std::u16string_view header) {
        std::u16string_view rawTitle = header.substr(0, header.find(kJournalHeaderSep));
        std::u16string title = ComparableTitle(rawTitle);
        if (!title.empty()) {
            int found = m_titles.FirstHolding(title);
            if (found >= 0) return found;
        }
        if (m_titles.Count() == kMaxProblems) return -1;
        const int problem = m_titles.Count();
        std::u16string stored(header);
        if (rawTitle.empty()) {
            stored.insert(0, std::u16string(kDefaultTitlePrefix) + ToText(problem + 1));
        }
        m_titles.Add(std::u16string_view(stored).substr(0, stored.find(kJournalHeaderSep)));
        m_head += ProblemOpening(problem) + stored;
        return problem;
    }

    std::u16string m_head;
    JournalDayBlocks m_days;
    SubstringIndex m_titles{kJournalHeaderSep};  // folder problem titles, by number
};

// The "¬O" part of a version 3.00 block with its old journal moved behind the option items.
std::u16string MoveOldJournal(std::u16string_view options) {
    size_t end = options.find(kItemEnd);
    if (end == kNone) return std::u16string(options);
    std::u16string_view rest = options.substr(end + 1);
    if (!rest.empty() && rest.back() != kItemEnd) return std::u16string(options);
    return std::u16string(rest) + std::u16string(options.substr(0, end + 1));
}

}  // namespace

std::u16string ComparableTitle(std::u16string_view title) {
    size_t end = title.size();
    while (end > 0 && (title[end - 1] == u'!' || title[end - 1] == u'(' || title[end - 1] == u')' ||
                       title[end - 1] == u' ')) {
        --end;
    }
    return std::u16string(title.substr(0, end));
}

bool ConvertVersion300(std::u16string_view text, std::u16string& converted, DamageCode* damage) {
    auto damaged = [damage](DamageCode code) {
        if (damage) *damage = code;
        return false;
    };
    size_t versionEnd = text.find(u'#', 1);
    if (versionEnd == kNone) return damaged(DamageCode::NoIdentity);
    const std::u16string out =
        std::u16string(kVersion40Mark) + std::u16string(text.substr(versionEnd + 1));

    const size_t identity = out.find(kIdentityMark);
    if (identity == kNone) return damaged(DamageCode::NoIdentity);
    size_t insertAt = identity + kIdentityMark.size();
    for (int i = 0; i < kIdentityItems; ++i) {
        insertAt = out.find(kItemEnd, insertAt);
        if (insertAt == kNone) return damaged(DamageCode::NoBlock);
        ++insertAt;
    }
    const size_t firstBlock = out.find(kBlockMarkH, identity);
    if (firstBlock == kNone || firstBlock < insertAt) return damaged(DamageCode::NoBlock);

    const std::u16string_view view(out);
    const std::vector<Block> blocks = FindBlocks(view, identity);
    JournalMerger merger;
    for (const Block& block : blocks) {
        if (block.optionsBegin == kNone) continue;
        std::u16string_view key = view.substr(block.begin + kBlockMarkH.size(),
                                              block.end - block.begin - kBlockMarkH.size());
        DateTime admission = ParseSubfolderDateTime(key.substr(0, key.find(kItemEnd)));
        DayNumber admissionDay = DayNumberOf(admission.year, admission.month, admission.day);
        std::u16string_view options =
            view.substr(block.optionsBegin, block.optionsEnd - block.optionsBegin);
        merger.Add(options.substr(0, options.find(kItemEnd)), admissionDay);
    }

    // The folder journal after the location item; in each block the drawings take "¦" for
    // "-" and the old journal moves behind the option items.
    const std::u16string journal = merger.Journal();
    std::u16string result;
    result.reserve(out.size() + journal.size() + 1);
    result.append(view.substr(0, insertAt));
    result += journal;
    result += kItemEnd;
    size_t copied = insertAt;
    for (const Block& block : blocks) {
        if (block.optionsBegin == kNone) continue;
        size_t drawings = FindIn(view, kDrawingMark, block.begin, block.optionsBegin);
        if (drawings == kNone) drawings = block.optionsBegin;
        result.append(view.substr(copied, drawings - copied));
        for (size_t i = drawings; i < block.optionsBegin; ++i) {
            result += out[i] == u'-' ? kHeaderSep : out[i];
        }
        result +=
            MoveOldJournal(view.substr(block.optionsBegin, block.optionsEnd - block.optionsBegin));
        copied = block.optionsEnd;
    }
    result.append(view.substr(copied));
    converted = std::move(result);
    return true;
}

}  // namespace pondrel
