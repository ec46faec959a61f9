#include "records/PatientFileParser.h"

#include "platform/Text.h"
#include "records/ItemEncoding.h"
#include "records/PatientFileFormat.h"
#include "records/PatientRecord.h"

namespace pondrel {

namespace {

constexpr size_t kNone = std::u16string_view::npos;

// Walks the "¢"-ended items of a part of the text. An item runs to the next "¢" or to the end
// of the part; past the end every item is empty.
class ItemCursor {
public:
    ItemCursor(std::u16string_view text, size_t begin, size_t end)
        : m_part(text.substr(begin, end > begin ? end - begin : 0)) {}

    std::u16string_view Next() {
        if (m_pos >= m_part.size()) return {};
        size_t end = m_part.find(kItemEnd, m_pos);
        if (end == kNone) end = m_part.size();
        std::u16string_view item = m_part.substr(m_pos, end - m_pos);
        m_pos = end + 1;
        return item;
    }

private:
    std::u16string_view m_part;
    size_t m_pos = 0;
};

// The position of `mark` at or after `from` and before `limit`, or kNone.
size_t FindBefore(std::u16string_view text, std::u16string_view mark, size_t from, size_t limit) {
    size_t pos = text.find(mark, from);
    return pos != kNone && pos + mark.size() <= limit ? pos : kNone;
}

}  // namespace

int PatientFileVersion(std::u16string_view text) {
    if (text.size() < 2 || text[0] != u'#' || text[1] != u'V') return 0;
    return ParseInt(text.substr(2));
}

bool IsVersion300(std::u16string_view text) {
    return text.starts_with(kVersion300Mark);
}

std::optional<std::u16string> FilterLocation(std::u16string_view text) {
    size_t pos = text.find(kLocationItem);
    if (pos == kNone || pos == 0) return std::nullopt;
    size_t begin = pos + kLocationItem.size();
    size_t end = text.find(kItemEnd, begin);
    return std::u16string(text.substr(begin, end == kNone ? kNone : end - begin));
}

int ParsePatientText(std::u16string_view text, PatientRecord& record, bool fromVersion300) {
    const size_t identity = text.find(kIdentityMark);
    if (identity == kNone) return 4;

    // Folder header: the lock letter ends the version item, the key is the next item.
    std::u16string_view header = text.substr(0, identity);
    size_t firstEnd = header.find(kItemEnd);
    record.lockState.clear();
    std::u16string key;
    if (firstEnd != kNone) {
        if (firstEnd > 0 && (header[firstEnd - 1] == u'R' || header[firstEnd - 1] == u'W')) {
            record.lockState = header[firstEnd - 1];
        }
        key = ItemCursor(header, firstEnd + 1, header.size()).Next();
    }

    const size_t firstBlock = text.find(kBlockMarkH, identity + kIdentityMark.size());
    if (firstBlock == kNone) return 5;
    ItemCursor identityItems(text, identity + kIdentityMark.size(), firstBlock);
    for (int n = kFirstIdentityField; n < kFirstIdentityField + kIdentityFieldCount; ++n) {
        record.SetField(n, std::u16string(identityItems.Next()));
    }
    record.sex = ParseInt(identityItems.Next());
    std::u16string_view locationItem = identityItems.Next();
    record.location = locationItem.size() > kLocationPrefix.size()
                          ? std::u16string(locationItem.substr(kLocationPrefix.size()))
                          : std::u16string();
    record.problemJournal = identityItems.Next();

    // The current subfolder's block, up to the next block.
    const std::u16string blockStart = std::u16string(kBlockMarkH) + key + kItemEnd;
    const size_t block = text.find(blockStart, firstBlock);
    if (block == kNone) return 6;
    size_t limit = text.find(kBlockMarkH, block + blockStart.size());
    const bool lastBlock = limit == kNone;
    if (lastBlock) limit = text.size();

    const size_t form = FindBefore(text, kFormMark, block + kBlockMarkH.size(), limit);
    if (form == kNone) return 7;
    ItemCursor blockItems(text, block + kBlockMarkH.size(), form);
    record.admission = ParseSubfolderDateTime(blockItems.Next());
    record.exit = ParseSubfolderDateTime(blockItems.Next());
    record.exitDateSet = ParseInt(blockItems.Next());
    blockItems.Next();  // the problem title list, rebuilt from the journal when written
    record.subfolderType = blockItems.Next();
    record.historyStartDay = ParseInt(blockItems.Next());

    const size_t drawings = FindBefore(text, kDrawingMark, form + kFormMark.size(), limit);
    if (drawings == kNone) return 8;
    ItemCursor formItems(text, form + kFormMark.size(), drawings);
    for (int n = 1; n < kFieldCount; ++n) {
        if (n >= 120 && n <= 140) continue;
        if (n >= 2 && n <= 6) {
            record.SetField(n, record.Field(n + 118));
        } else if (n >= 86 && n <= 93) {
            record.SetField(n, {});
        } else {
            record.SetField(n, std::u16string(formItems.Next()));
        }
    }

    const size_t options = FindBefore(text, kOptionsMark, drawings + kDrawingMark.size(), limit);
    if (options == kNone) return 9;
    ItemCursor drawingItems(text, drawings + kDrawingMark.size(), options);
    for (int j = 1; j <= kDrawingCount; ++j) {
        std::u16string drawing(drawingItems.Next());
        if (fromVersion300) {
            for (char16_t& c : drawing) {
                if (c == u'-') c = kHeaderSep;
            }
        }
        record.SetDrawing(j, std::move(drawing));
    }

    const size_t optionsBegin = options + kOptionsMark.size();
    size_t optionsEnd = FindBefore(text, kBlockEndMark, optionsBegin, limit);
    if (optionsEnd == kNone) {
        // No "¬E": the part ends where the next block begins, or two characters before the end
        // of the text for the last block.
        optionsEnd = lastBlock ? (text.size() >= 2 ? text.size() - 2 : 0) : limit;
        if (optionsEnd < optionsBegin) return 10;
    }
    ItemCursor optionItems(text, optionsBegin, optionsEnd);
    std::u16string type(optionItems.Next());
    record.subfolderType = type.empty() || type.size() > 5 ? u"Hosp" : type;
    record.inUse = ParseInt(optionItems.Next());
    record.icon = ParseInt(optionItems.Next());
    record.checked = ParseInt(optionItems.Next());

    record.inUse = 1;
    record.admissionDay = DayNumberOf(record.admission);
    record.subfolderKey = key;
    record.rawTextKey = key;
    record.rawText = text;
    return 0;
}

}  // namespace pondrel
