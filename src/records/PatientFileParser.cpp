#include "records/PatientFileParser.h"

#include <cstring>

#include "platform/Text.h"
#include "records/ItemEncoding.h"
#include "records/PatientFileFormat.h"
#include "records/PatientRecord.h"
#include "records/ReservedCharacters.h"

namespace pondrel {

namespace {

constexpr size_t kNone = std::u16string_view::npos;

// The position of the unit c at or after `from`, or kNone. Patient texts are long and their
// separators sparse: the bytes are searched with memchr for the low byte of c, and each
// candidate is checked as a whole unit.
size_t FindUnit(std::u16string_view text, char16_t c, size_t from) {
    const unsigned char* base = reinterpret_cast<const unsigned char*>(text.data());
    const size_t bytes = text.size() * sizeof(char16_t);
    const int low = c & 0xFF;
    size_t at = from * sizeof(char16_t);
    while (at < bytes) {
        const void* hit = std::memchr(base + at, low, bytes - at);
        if (!hit) return kNone;
        const size_t unit =
            static_cast<size_t>(static_cast<const unsigned char*>(hit) - base) / sizeof(char16_t);
        if (text[unit] == c) return unit;
        at = (unit + 1) * sizeof(char16_t);
    }
    return kNone;
}

// The position of `mark` at or after `from`, or kNone.
size_t FindMark(std::u16string_view text, std::u16string_view mark, size_t from) {
    if (mark.empty()) return from <= text.size() ? from : kNone;
    for (size_t at = FindUnit(text, mark[0], from); at != kNone;
         at = FindUnit(text, mark[0], at + 1)) {
        if (text.substr(at, mark.size()) == mark) return at;
    }
    return kNone;
}

// Walks the "¢"-ended items of a part of the text. An item runs to the next "¢" or to the end
// of the part; past the end every item is empty.
class ItemCursor {
public:
    ItemCursor(std::u16string_view text, size_t begin, size_t end)
        : m_part(text.substr(begin, end > begin ? end - begin : 0)) {}

    std::u16string_view Next() {
        if (m_pos >= m_part.size()) return {};
        size_t end = FindUnit(m_part, kItemEnd, m_pos);
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
    size_t pos = FindMark(text, mark, from);
    return pos != kNone && pos + mark.size() <= limit ? pos : kNone;
}

// Every member but `rawText`; the first missing mark, or DamageCode::None.
DamageCode ParseFields(std::u16string_view text, PatientRecord& record, bool fromVersion300);

bool Parsed(DamageCode code, DamageCode* damage) {
    if (damage) *damage = code;
    return code == DamageCode::None;
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
    size_t pos = FindMark(text, kLocationItem, 0);
    if (pos == kNone || pos == 0) return std::nullopt;
    size_t begin = pos + kLocationItem.size();
    size_t end = FindUnit(text, kItemEnd, begin);
    return std::u16string(text.substr(begin, end == kNone ? kNone : end - begin));
}

bool ParsePatientText(std::u16string_view text, PatientRecord& record, bool fromVersion300,
                      DamageCode* damage) {
    if (!Parsed(ParseFields(text, record, fromVersion300), damage)) return false;
    record.rawText = text;
    return true;
}

bool ParseAndKeepPatientText(std::u16string&& text, PatientRecord& record, bool fromVersion300,
                             DamageCode* damage) {
    if (!Parsed(ParseFields(text, record, fromVersion300), damage)) return false;
    record.rawText = std::move(text);
    return true;
}

namespace {

DamageCode ParseFields(std::u16string_view text, PatientRecord& record, bool fromVersion300) {
    const size_t identity = FindMark(text, kIdentityMark, 0);
    if (identity == kNone) return DamageCode::NoIdentity;

    // Folder header: the lock letter ends the version item, the key is the next item.
    std::u16string_view header = text.substr(0, identity);
    size_t firstEnd = FindUnit(header, kItemEnd, 0);
    record.lockState.clear();
    std::u16string key;
    if (firstEnd != kNone) {
        if (firstEnd > 0 && (header[firstEnd - 1] == u'R' || header[firstEnd - 1] == u'W')) {
            record.lockState = header[firstEnd - 1];
        }
        key = ItemCursor(header, firstEnd + 1, header.size()).Next();
    }

    const size_t firstBlock = FindMark(text, kBlockMarkH, identity + kIdentityMark.size());
    if (firstBlock == kNone) return DamageCode::NoBlock;
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
    const size_t block = FindMark(text, blockStart, firstBlock);
    if (block == kNone) return DamageCode::NoCurrentBlock;
    size_t limit = FindMark(text, kBlockMarkH, block + blockStart.size());
    const bool lastBlock = limit == kNone;
    if (lastBlock) limit = text.size();

    const size_t form = FindBefore(text, kFormMark, block + kBlockMarkH.size(), limit);
    if (form == kNone) return DamageCode::NoForm;
    ItemCursor blockItems(text, block + kBlockMarkH.size(), form);
    record.admission = ParseSubfolderDateTime(blockItems.Next());
    record.exit = ParseSubfolderDateTime(blockItems.Next());
    record.exitDateSet = ParseInt(blockItems.Next());
    blockItems.Next();  // the problem title list, rebuilt from the journal when written
    record.subfolderType = blockItems.Next();
    record.historyStartDay = ParseInt(blockItems.Next());

    const size_t drawings = FindBefore(text, kDrawingMark, form + kFormMark.size(), limit);
    if (drawings == kNone) return DamageCode::NoDrawings;
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
    if (options == kNone) return DamageCode::NoOptions;
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
        if (optionsEnd < optionsBegin) return DamageCode::NoOptionsEnd;
    }
    ItemCursor optionItems(text, optionsBegin, optionsEnd);
    // The type as the writer can keep it: a damaged file's "¬" would be dropped when saved, and
    // the file read again would not give the same record.
    std::u16string type = StorableText(optionItems.Next());
    record.subfolderType = type.empty() || type.size() > 5 ? u"Hosp" : type;
    record.inUse = ParseInt(optionItems.Next());
    record.icon = ParseInt(optionItems.Next());
    record.checked = ParseInt(optionItems.Next());

    record.inUse = 1;
    record.admissionDay = DayNumberOf(record.admission);
    record.subfolderKey = key;
    record.rawTextKey = key;
    return DamageCode::None;
}

}  // namespace

}  // namespace pondrel
