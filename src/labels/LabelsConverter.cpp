#include "labels/LabelsConverter.h"

#include "records/PatientRecord.h"
#include "labels/LabelsFormat.h"
#include "labels/LabelsReader.h"
#include "platform/Text.h"

namespace pondrel {

namespace {

std::u16string_view Header(std::u16string_view text) {
    return text.substr(0, text.find(kSectionMark));
}

}  // namespace

LabelsLayout DetectLabelsLayout(std::u16string_view text) {
    if (FindFieldRecords(text).empty()) return LabelsLayout::NotLabels;
    std::u16string_view header = Header(text);
    if (header == u"2.30") return LabelsLayout::Version230;
    if ((!header.empty() && header.front() == u'2') || header.size() > 6) {
        return LabelsLayout::Before230;
    }
    if (ParseInt(header) < kLabelsCurrentVersion) return LabelsLayout::Version300;
    return LabelsLayout::Current;
}

std::u16string AddedFieldRecord(int field) {
    std::u16string caption;
    std::u16string list(kEmptyShortcutList);
    if (field == 140) {
        caption = u"Send 2";
    } else if (field >= 141 && field <= 199) {
        caption = u"Window " + ToText(field - 140);
    } else if (field == 202) {
        caption = u"Formulary";
        list =
            u"Dialysis ambulatory|Cardiology ambulatory|Endocrinology ambulatory|"
            u"Physiotherapy|Psychiatrics meetings||";
    } else if (field >= 203) {
        caption = u"Window " + ToText(field - 142);
    } else {
        // 200, 201, and the records a damaged file lacks before 140.
        caption = FieldName(field);
    }
    return std::u16string(kRecordMark) + caption + std::u16string(kRecordMark) + list;
}

std::u16string ConvertLabelsText(std::u16string_view text) {
    LabelsLayout layout = DetectLabelsLayout(text);
    if (layout == LabelsLayout::Current || layout == LabelsLayout::NotLabels) {
        return std::u16string(text);
    }
    // Each older layout lacks the records the later ones added; as every added record is named
    // by its field number alone, the missing ones are appended in one go.
    std::vector<FieldRecordSpan> records = FindFieldRecords(text);
    int present = static_cast<int>(records.size());
    size_t insertAt = records.back().end;  // at least one record: the layout was recognised
    std::u16string added;
    for (int field = present; field < kLabelsFieldCount; ++field) {
        added += kRecordSeparator;
        added += ToText(field);
        added += AddedFieldRecord(field);
    }

    size_t headerEnd = text.find(kSectionMark);
    std::u16string converted(kLabelsCurrentHeader);
    converted += text.substr(headerEnd, insertAt - headerEnd);
    converted += added;
    converted += text.substr(insertAt);
    return converted;
}

}  // namespace pondrel
