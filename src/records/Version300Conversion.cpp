#include "records/Version300Conversion.h"

#include <map>
#include <vector>

#include "platform/Text.h"
#include "records/DayNumber.h"
#include "records/ItemEncoding.h"
#include "records/JournalDayEntry.h"
#include "records/PatientFileFormat.h"

namespace pondrel {

namespace {

constexpr size_t kNone = std::u16string::npos;
constexpr int kMaxProblems = 100;
constexpr int kIdentityItems = 22;  // 20 identity fields, the sex and the location item

struct Block {
    size_t begin;         // its "¬H"
    size_t optionsBegin;  // after its "¬O" (kNone without one)
    size_t optionsEnd;    // its "¬E", or the next block, or the end of the text
};

int DigitsAt(std::u16string_view text, size_t pos, size_t maxDigits) {
    int value = -1;
    for (size_t i = pos; i < text.size() && i < pos + maxDigits; ++i) {
        if (text[i] < u'0' || text[i] > u'9') break;
        value = (value < 0 ? 0 : value) * 10 + (text[i] - u'0');
    }
    return value;
}

std::vector<Block> FindBlocks(std::u16string_view text, size_t from) {
    std::vector<Block> blocks;
    for (size_t pos = text.find(kBlockMarkH, from); pos != kNone;) {
        size_t next = text.find(kBlockMarkH, pos + kBlockMarkH.size());
        size_t limit = next == kNone ? text.size() : next;
        Block block{pos, kNone, limit};
        size_t options = text.find(kOptionsMark, pos);
        if (options != kNone && options < limit) {
            block.optionsBegin = options + kOptionsMark.size();
            size_t end = text.find(kBlockEndMark, block.optionsBegin);
            if (end != kNone && end < limit) block.optionsEnd = end;
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
        size_t firstDay = journal.find(u'#');
        std::u16string_view head = journal.substr(0, firstDay);
        std::u16string_view days =
            firstDay == kNone ? std::u16string_view() : journal.substr(firstDay);
        for (size_t mark = head.find(kProblemMark); mark != kNone;) {
            size_t next = head.find(kProblemMark, mark + 1);
            int number = DigitsAt(head, mark + 1, 2);
            size_t bar = head.find(u'|', mark);
            if (number >= 0 && bar != kNone && (next == kNone || bar < next)) {
                std::u16string_view header =
                    head.substr(bar + 1, next == kNone ? kNone : next - bar - 1);
                int problem = ProblemFor(header);
                if (problem >= 0) CopyEntries(days, number, problem, admissionDay);
            }
            mark = next;
        }
    }

    std::u16string Journal() const { return m_head + m_days; }

private:
    // The number of the folder problem a subfolder header belongs to; a new problem when no
    // folder problem has a title holding this one. -1 when all 100 numbers are taken.
    int ProblemFor(std::u16string_view header) {
        std::u16string_view rawTitle = header.substr(0, header.find(kHeaderSep));
        std::u16string title = ComparableTitle(rawTitle);
        if (!title.empty()) {
            for (const auto& [number, existing] : m_titles) {
                if (existing.find(title) != kNone) return number;
            }
        }
        int problem = 0;
        while (problem < kMaxProblems && m_titles.count(problem)) ++problem;
        if (problem == kMaxProblems) return -1;
        std::u16string stored(header);
        if (rawTitle.empty()) stored.insert(0, Format(u"Problem n\u00B0%d", {problem + 1}));
        m_titles[problem] = stored.substr(0, stored.find(kHeaderSep));
        m_head += kProblemMark + ToText(problem) + u"|" + stored;
        return problem;
    }

    void CopyEntries(std::u16string_view days, int number, int problem, DayNumber admissionDay) {
        const std::u16string mark = kProblemMark + ToText(number) + u"|";
        for (size_t pos = days.find(mark); pos != kNone; pos = days.find(mark, pos + 1)) {
            size_t hash = days.rfind(u'#', pos);
            int offset = hash == kNone ? 0 : ParseInt(days.substr(hash + 1, pos - hash - 1));
            size_t begin = pos + mark.size();
            size_t end = days.size();
            size_t nextHash = days.find(u'#', begin);
            size_t nextMark = days.find(kProblemMark, begin);
            if (nextHash != kNone) end = nextHash;
            if (nextMark != kNone && nextMark < end) end = nextMark;
            // Leave out the bar closing the entry.
            std::u16string_view entry =
                end > begin ? days.substr(begin, end - begin - 1) : std::u16string_view();
            JournalSections sections;
            size_t start = 0;
            for (size_t i = 0; i < sections.size(); ++i) {
                size_t bar = i + 1 < sections.size() ? entry.find(u'|', start) : kNone;
                if (start <= entry.size()) {
                    sections[i] = entry.substr(start, bar == kNone ? kNone : bar - start);
                }
                if (bar == kNone) break;
                start = bar + 1;
            }
            long long day = static_cast<long long>(admissionDay) + offset;
            if (day < 0 || day > 10000000) continue;  // not a day of a real stay
            SetJournalDayEntry(m_days, static_cast<DayNumber>(day), problem, sections);
        }
    }

    std::u16string m_head;
    std::u16string m_days;
    std::map<int, std::u16string> m_titles;  // folder problem number -> its title
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

bool ConvertVersion300(std::u16string_view text, std::u16string& converted, int* damageCode) {
    auto damaged = [damageCode](int code) {
        if (damageCode) *damageCode = code;
        return false;
    };
    size_t versionEnd = text.find(u'#', 1);
    if (versionEnd == kNone) return damaged(4);
    std::u16string out =
        std::u16string(kVersion40Mark) + std::u16string(text.substr(versionEnd + 1));

    const size_t identity = out.find(kIdentityMark);
    if (identity == kNone) return damaged(4);
    size_t insertAt = identity + kIdentityMark.size();
    for (int i = 0; i < kIdentityItems; ++i) {
        insertAt = out.find(kItemEnd, insertAt);
        if (insertAt == kNone) return damaged(5);
        ++insertAt;
    }
    const size_t firstBlock = out.find(kBlockMarkH, identity);
    if (firstBlock == kNone || firstBlock < insertAt) return damaged(5);

    std::vector<Block> blocks = FindBlocks(out, identity);
    JournalMerger merger;
    for (const Block& block : blocks) {
        if (block.optionsBegin == kNone) continue;
        std::u16string_view key = std::u16string_view(out).substr(block.begin + kBlockMarkH.size());
        DateTime admission = ParseSubfolderDateTime(key.substr(0, key.find(kItemEnd)));
        DayNumber admissionDay = DayNumberOf(admission.year, admission.month, admission.day);
        std::u16string_view options = std::u16string_view(out).substr(
            block.optionsBegin, block.optionsEnd - block.optionsBegin);
        merger.Add(options.substr(0, options.find(kItemEnd)), admissionDay);
    }

    // Rewrite the blocks from the last one, so that earlier positions stay valid.
    for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) {
        if (it->optionsBegin == kNone) continue;
        std::u16string moved = MoveOldJournal(
            std::u16string_view(out).substr(it->optionsBegin, it->optionsEnd - it->optionsBegin));
        out.replace(it->optionsBegin, it->optionsEnd - it->optionsBegin, moved);
        size_t drawings = out.find(kDrawingMark, it->begin);
        if (drawings != kNone && drawings < it->optionsBegin) {
            for (size_t i = drawings; i < it->optionsBegin; ++i) {
                if (out[i] == u'-') out[i] = kHeaderSep;
            }
        }
    }

    out.insert(insertAt, merger.Journal() + kItemEnd);
    converted = std::move(out);
    return true;
}

}  // namespace pondrel
