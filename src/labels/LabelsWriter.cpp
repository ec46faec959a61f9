#include "labels/LabelsWriter.h"

#include "labels/LabelsFormat.h"
#include "labels/LabelsReader.h"
#include "platform/Text.h"

namespace pondrel {

namespace {

void PutUnit(std::string& bytes, char16_t unit) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
}

bool HasReserved(std::u16string_view text) {
    return text.find(kItemEndMark) != std::u16string_view::npos ||
           text.find(kSectionMark) != std::u16string_view::npos;
}

template <size_t N>
bool CheckItems(const std::array<std::u16string, N>& items, const char* what, Error* error) {
    for (size_t i = 0; i < N; ++i) {
        if (HasReserved(items[i])) {
            Error::Set(error, ErrorKind::Refused,
                       std::string(what) + " " + std::to_string(i) + " holds \"|\" or \"#\"");
            return false;
        }
    }
    return true;
}

template <size_t N>
void AppendItems(std::u16string& text, const std::array<std::u16string, N>& items) {
    for (const std::u16string& item : items) {
        text += item;
        text += kItemEndMark;
    }
}

}  // namespace

std::string EncodeLabelsText(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(2 * (text.size() + 2));
    PutUnit(bytes, kByteOrderMark);
    for (char16_t unit : text) PutUnit(bytes, unit);
    PutUnit(bytes, 0);
    return bytes;
}

bool CheckLabels(const Labels& labels, Error* error) {
    for (int field = 0; field < kLabelsFieldCount; ++field) {
        const std::u16string& list = labels.shortcutLists[field];
        std::u16string_view body = list;
        bool endsWell = body.size() >= kListEnd.size() && body.substr(body.size() - 2) == kListEnd;
        if (endsWell) body.remove_suffix(kListEnd.size());
        if (HasReserved(labels.captions[field])) {
            Error::Set(error, ErrorKind::Refused,
                       "caption of field " + std::to_string(field) + " holds \"|\" or \"#\"");
            return false;
        }
        if (!endsWell || body.find(kListEnd) != std::u16string_view::npos ||
            body.find(kSectionMark) != std::u16string_view::npos ||
            (!body.empty() && body.back() == kItemEndMark)) {
            Error::Set(error, ErrorKind::Refused,
                       "shortcut list of field " + std::to_string(field) +
                           " must end with \"||\" and hold no other \"||\" nor \"#\"");
            return false;
        }
    }
    return CheckItems(labels.sectionCaptions, "section caption", error) &&
           CheckItems(labels.uiLabels, "label", error) &&
           CheckItems(labels.weekdayNames, "weekday name", error) &&
           CheckItems(labels.monthNames, "month name", error) &&
           CheckItems(labels.ageWords, "age word", error) &&
           CheckItems(labels.shortMonthNames, "short month name", error);
}

std::u16string ComposeLabelsSections(const Labels& labels,
                                     const std::vector<std::u16string>& fileUiItems) {
    std::u16string text(kLabelsMarker);
    AppendItems(text, labels.sectionCaptions);
    text += kRecordSeparator;
    text += kPlainTextMarker;
    for (int i = 0; i < kUiLabelCount; ++i) {
        bool fromFile = IsPassedOverLabel(i) && static_cast<size_t>(i) < fileUiItems.size();
        text += fromFile ? fileUiItems[i] : labels.uiLabels[i];
        text += kItemEndMark;
    }
    text += kRecordSeparator;
    text += kDateMarker;
    AppendItems(text, labels.weekdayNames);
    AppendItems(text, labels.monthNames);
    AppendItems(text, labels.ageWords);
    AppendItems(text, labels.shortMonthNames);
    return text;
}

std::u16string ComposeLabelsText(const Labels& labels) {
    std::u16string text(kLabelsCurrentHeader);
    for (int field = 0; field < kLabelsFieldCount; ++field) {
        if (field > 0) {
            text += kRecordSeparator;
            text += ToText(field);
        }
        text += kRecordMark;
        text += labels.captions[field];
        text += kRecordMark;
        text += labels.shortcutLists[field];
    }
    text += kRecordSeparator;
    text += ComposeLabelsSections(labels);
    return text;
}

std::optional<std::u16string> ComposeWriteBack(std::u16string_view text,
                                               const LabelsReadResult& read) {
    size_t labelsAt = text.find(kLabelsMarker);
    size_t plainAt = text.find(kPlainTextMarker);
    size_t dateAt = text.find(kDateMarker);
    bool sectionsWhole = read.sectionCaptions.found && read.sectionCaptions.intact &&
                         read.plainText.found && read.plainText.intact && read.date.found &&
                         read.date.intact;
    // Markers out of order mean a damaged file: whatever lies between them would be lost.
    bool inOrder = labelsAt != std::u16string_view::npos && labelsAt < plainAt &&
                   plainAt < dateAt && dateAt != std::u16string_view::npos;
    if (!sectionsWhole || !inOrder) return std::nullopt;
    return std::u16string(text.substr(0, labelsAt)) +
           ComposeLabelsSections(read.labels, read.fileUiItems);
}

std::optional<FieldRecordReplacement> ReplaceFieldRecord(std::u16string_view text, int field,
                                                         std::u16string_view caption,
                                                         std::u16string_view shortcutList) {
    if (field < 0 || field >= kLabelsFieldCount) return std::nullopt;
    if (caption.find_first_of(u"#|") != std::u16string_view::npos) return std::nullopt;
    if (shortcutList.size() < kListEnd.size() || !shortcutList.ends_with(kListEnd) ||
        shortcutList.find(kListEnd) != shortcutList.size() - kListEnd.size() ||
        shortcutList.find(kSectionMark) != std::u16string_view::npos) {
        return std::nullopt;
    }
    std::vector<FieldRecordSpan> records = FindFieldRecords(text);
    if (static_cast<size_t>(field) >= records.size()) return std::nullopt;
    const FieldRecordSpan& record = records[static_cast<size_t>(field)];
    FieldRecordReplacement result;
    result.begin = static_cast<size_t>(record.caption.data() - text.data());
    result.oldEnd = record.end;
    std::u16string middle(caption);
    middle += kRecordMark;
    middle += shortcutList;
    result.newEnd = result.begin + middle.size();
    result.text.reserve(text.size() + middle.size());
    result.text.append(text.substr(0, result.begin));
    result.text.append(middle);
    result.text.append(text.substr(record.end));
    return result;
}

}  // namespace pondrel
