#include "labels/LabelsReader.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "platform/Text.h"

namespace pondrel {

namespace {

// Windows-1252 characters 0x80 to 0x9F; the five unassigned bytes keep their value.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

unsigned char Byte(std::string_view bytes, size_t i) {
    return static_cast<unsigned char>(bytes[i]);
}

std::u16string Units(std::string_view bytes, size_t from, bool bigEndian) {
    std::u16string text;
    text.reserve((bytes.size() - from) / 2);
    for (size_t i = from; i + 1 < bytes.size(); i += 2) {
        unsigned lo = Byte(bytes, bigEndian ? i + 1 : i);
        unsigned hi = Byte(bytes, bigEndian ? i : i + 1);
        text += static_cast<char16_t>(lo | (hi << 8));
    }
    return text;
}

std::u16string EightBit(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        text += (b >= 0x80 && b < 0xA0) ? kWindows1252High[b - 0x80] : static_cast<char16_t>(b);
    }
    return text;
}

// Strict UTF-8 check; `multiByte` tells whether any character beyond ASCII occurs.
bool IsUtf8(std::string_view bytes, bool& multiByte) {
    multiByte = false;
    size_t i = 0;
    while (i < bytes.size()) {
        unsigned char b = Byte(bytes, i);
        size_t len = b < 0x80             ? 1
                     : (b & 0xE0) == 0xC0 ? 2
                     : (b & 0xF0) == 0xE0 ? 3
                     : (b & 0xF8) == 0xF0 ? 4
                                          : 0;
        if (len == 0 || i + len > bytes.size()) return false;
        if (len > 1) {
            multiByte = true;
            uint32_t v = b & (0x7F >> len);
            for (size_t k = 1; k < len; ++k) {
                unsigned char next = Byte(bytes, i + k);
                if ((next & 0xC0) != 0x80) return false;
                v = (v << 6) | (next & 0x3F);
            }
            static const uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
            if (v < kMin[len] || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return false;
        }
        i += len;
    }
    return true;
}

// A 16-bit text without mark shows zero bytes in one of the two positions of most pairs; an
// 8-bit text has no zero bytes at all.
std::optional<bool> LooksLikeUtf16(std::string_view bytes) {
    size_t pairs = std::min<size_t>(bytes.size() / 2, 2048);
    if (pairs == 0) return std::nullopt;
    size_t zeroHigh = 0;
    size_t zeroLow = 0;
    for (size_t p = 0; p < pairs; ++p) {
        bool lowZero = Byte(bytes, 2 * p) == 0;
        bool highZero = Byte(bytes, 2 * p + 1) == 0;
        if (highZero && !lowZero) ++zeroHigh;
        if (lowZero && !highZero) ++zeroLow;
    }
    if (2 * zeroHigh >= pairs && zeroLow * 8 < pairs) return false;  // little-endian
    if (2 * zeroLow >= pairs && zeroHigh * 8 < pairs) return true;   // big-endian
    return std::nullopt;
}

void DropZeroUnits(std::u16string& text) {
    while (!text.empty() && text.back() == 0) text.pop_back();
    text.erase(std::remove(text.begin(), text.end(), u'\0'), text.end());
}

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0;
}

std::u16string TrimLineBreaks(std::u16string_view item) {
    size_t begin = 0;
    size_t end = item.size();
    while (begin < end && (item[begin] == u'\r' || item[begin] == u'\n')) ++begin;
    while (end > begin && (item[end - 1] == u'\r' || item[end - 1] == u'\n')) --end;
    return std::u16string(item.substr(begin, end - begin));
}

// Items of one section: after its marker, up to each "|", at most maxItems; an item holding "#"
// belongs to the next section and ends this one.
SectionShape ReadSection(std::u16string_view text, std::u16string_view marker, int maxItems,
                         std::vector<std::u16string>& items) {
    SectionShape shape;
    size_t at = text.find(marker);
    if (at == std::u16string_view::npos) return shape;
    shape.found = true;
    size_t pos = at + marker.size();
    while (static_cast<int>(items.size()) < maxItems) {
        size_t bar = text.find(kItemEndMark, pos);
        if (bar == std::u16string_view::npos) break;
        std::u16string_view item = text.substr(pos, bar - pos);
        if (item.find(kSectionMark) != std::u16string_view::npos) break;
        items.push_back(TrimLineBreaks(item));
        pos = bar + 1;
    }
    shape.items = static_cast<int>(items.size());
    size_t next = text.find(kSectionMark, pos);
    std::u16string_view rest =
        text.substr(pos, next == std::u16string_view::npos ? next : next - pos);
    shape.intact = std::all_of(rest.begin(), rest.end(), IsBlank);
    return shape;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    bool multiByte = false;
    return IsUtf8(bytes, multiByte);
}

std::u16string DecodeWindows1252(std::string_view bytes) { return EightBit(bytes); }

DecodedLabels DecodeLabelsBytes(std::string_view bytes) {
    DecodedLabels decoded;
    bool multiByte = false;
    if (bytes.size() >= 2 && Byte(bytes, 0) == 0xFF && Byte(bytes, 1) == 0xFE) {
        decoded = {Units(bytes, 2, false), LabelsEncoding::Utf16};
    } else if (bytes.size() >= 2 && Byte(bytes, 0) == 0xFE && Byte(bytes, 1) == 0xFF) {
        decoded = {Units(bytes, 2, true), LabelsEncoding::Utf16BigEndian};
    } else if (bytes.size() >= 3 && Byte(bytes, 0) == 0xEF && Byte(bytes, 1) == 0xBB &&
               Byte(bytes, 2) == 0xBF) {
        decoded = {FromUtf8(bytes.substr(3)), LabelsEncoding::Utf8};
    } else if (std::optional<bool> bigEndian = LooksLikeUtf16(bytes)) {
        decoded = {Units(bytes, 0, *bigEndian),
                   *bigEndian ? LabelsEncoding::Utf16BigEndian : LabelsEncoding::Utf16NoMark};
    } else if (IsUtf8(bytes, multiByte) && multiByte) {
        decoded = {FromUtf8(bytes), LabelsEncoding::Utf8};
    } else {
        decoded = {EightBit(bytes), LabelsEncoding::EightBit};
    }
    DropZeroUnits(decoded.text);
    return decoded;
}

std::vector<FieldRecordSpan> FindFieldRecords(std::u16string_view text) {
    std::u16string_view fields = text.substr(0, text.find(kLabelsMarker));
    std::vector<FieldRecordSpan> records;
    size_t pos = 0;
    while (static_cast<int>(records.size()) < kLabelsFieldCount) {
        size_t open = fields.find(kRecordMark, pos);
        if (open == std::u16string_view::npos) break;
        size_t captionStart = open + kRecordMark.size();
        size_t close = fields.find(kRecordMark, captionStart);
        if (close == std::u16string_view::npos) break;
        size_t listStart = close + kRecordMark.size();
        size_t listEnd = fields.find(kListEnd, listStart);
        if (listEnd == std::u16string_view::npos) break;
        FieldRecordSpan record;
        record.caption = fields.substr(captionStart, close - captionStart);
        record.end = listEnd + kListEnd.size();
        record.shortcutList = fields.substr(listStart, record.end - listStart);
        records.push_back(record);
        pos = record.end;
    }
    return records;
}

LabelsReadResult ReadLabelsText(std::u16string_view text) {
    LabelsReadResult result;
    Labels& labels = result.labels;
    labels = Labels::Blank();

    std::vector<FieldRecordSpan> records = FindFieldRecords(text);
    result.fieldRecords = static_cast<int>(records.size());
    for (size_t n = 0; n < records.size(); ++n) {
        if (!records[n].caption.empty()) labels.captions[n] = std::u16string(records[n].caption);
        labels.shortcutLists[n] = std::u16string(records[n].shortcutList);
    }

    std::vector<std::u16string> items;
    result.sectionCaptions = ReadSection(text, kLabelsMarker, kSectionCaptionCount, items);
    std::copy(items.begin(), items.end(), labels.sectionCaptions.begin());

    result.plainText = ReadSection(text, kPlainTextMarker, kUiLabelCount, result.fileUiItems);
    for (size_t i = 0; i < result.fileUiItems.size(); ++i) {
        if (!IsPassedOverLabel(static_cast<int>(i))) labels.uiLabels[i] = result.fileUiItems[i];
    }

    items.clear();
    result.date = ReadSection(text, kDateMarker, kDateItemCount, items);
    for (size_t i = 0; i < items.size(); ++i) {
        std::u16string& target = i < 7    ? labels.weekdayNames[i]
                                 : i < 19 ? labels.monthNames[i - 7]
                                 : i < 23 ? labels.ageWords[i - 19]
                                          : labels.shortMonthNames[i - 23];
        target = items[i];
    }

    // Built-in words. Page names 88 to 92 may also be written "blank" to ask for the built-in
    // word; 191 and 192 replace the page names of an older default.
    for (int index = 0; index < kUiLabelCount; ++index) {
        std::u16string_view word = BuiltInLabel(index);
        if (word.empty()) continue;
        std::u16string& label = labels.uiLabels[index];
        bool give = label.empty() ||
                    (index >= 88 && index <= 92 && EqualsIgnoreCase(label, u"blank")) ||
                    (index == 191 && label == u"Page 37") || (index == 192 && label == u"Page 38");
        if (!give) continue;
        if (label.empty() && IsWrittenBackLabel(index)) result.needsWriteBack = true;
        label = std::u16string(word);
    }
    if (labels.shortMonthNames[kShortMonthCount - 1].empty()) {
        for (int i = 0; i < kShortMonthCount; ++i) {
            labels.shortMonthNames[i] = std::u16string(BuiltInShortMonth(i));
        }
        result.needsWriteBack = true;
    }
    return result;
}

}  // namespace pondrel
