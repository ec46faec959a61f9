#include "charts/ExamTable.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "charts/ExamText.h"
#include "charts/ExamTitles.h"
#include "journal/JournalDays.h"
#include "journal/JournalReader.h"
#include "journal/RecordEditing.h"
#include "platform/Text.h"
#include "records/PatientRecord.h"

namespace pondrel {

namespace {

// An item longer than this is not a result.
constexpr size_t kLongestItem = 25;
// Between the values of one day in a cell.
constexpr std::u16string_view kSameDaySeparator = u";";

struct Slot {
    bool used = false;  // a title from the list, or a name found in the text
    ExamRow row;
};

// The name of an item: before its first ",", then before its first "[", then before its first
// "(" (a comment or a reference range), each when it is not the first character.
std::u16string_view ItemName(std::u16string_view name) {
    for (char16_t cut : {u',', u'[', u'('}) {
        size_t at = name.find(cut);
        if (at != std::u16string_view::npos && at >= 1) name = name.substr(0, at);
    }
    return name;
}

// Gives every marked item of the text to its row.
void ItemsToSlots(std::u16string_view text, std::vector<Slot>& slots) {
    std::optional<DayNumber> day;
    size_t start = text.find(kExamItemEnd);
    while (start != std::u16string_view::npos) {
        size_t end = text.find(kExamItemEnd, start + 1);
        if (end == std::u16string_view::npos) break;
        std::u16string_view item = text.substr(start + 1, end - start - 1);
        start = end;
        if (item.empty()) continue;
        if (item.front() == u'#') {
            // "#J" + day; a day header without its number gives day 0, as written.
            day = ParseInt(item.substr(std::min<size_t>(2, item.size())));
            continue;
        }
        size_t mark = item.find(kExamValueMark);
        if (item.size() > kLongestItem || mark == std::u16string_view::npos) continue;
        if (!day) return;
        std::u16string_view name = ItemName(item.substr(0, mark));
        std::u16string value = ReplaceAll(item.substr(mark + 1), u",", u".");
        for (Slot& slot : slots) {
            if (!slot.used) {
                slot.used = true;
                slot.row.title = std::u16string(name);
            }
            if (ExamNameMatchesTitle(name, slot.row.title)) {
                slot.row.values.push_back({*day, std::move(value)});
                break;
            }
        }
    }
}

// The first header of the text starts the scan: the text begins with "#J".
std::u16string WithLeadingEnd(std::u16string text) {
    return std::u16string(1, kExamItemEnd) + std::move(text);
}

}  // namespace

std::u16string ExamRow::ShownTitle() const {
    return std::u16string(pondrel::ShownTitle(title));
}

ExamTable BuildExamTable(const ExamTableInput& input) {
    ExamTable table;
    if (!input.record || !input.labels) return table;
    const PatientRecord& record = *input.record;
    std::u16string line = AdmissionExamLine(record, *input.labels);
    GatheredExams gathered = GatherExamText(record, input.shownDays, line);
    std::u16string marked = WithLeadingEnd(MarkExamValues(gathered.text));

    std::vector<Slot> slots(kMaxExamTitles);
    std::vector<std::u16string> titles = SplitExamTitles(input.examTitles);
    for (size_t k = 0; k < titles.size(); ++k) {
        slots[k].used = !titles[k].empty();
        slots[k].row.title = titles[k];
    }
    ItemsToSlots(marked, slots);

    table.days = gathered.days;
    DateOrder order = input.dayFirst ? DateOrder::DayMonthYear : DateOrder::MonthDayYear;
    std::unordered_map<DayNumber, size_t> columns;
    for (DayNumber day : table.days) {
        columns.emplace(day, table.columnLabels.size());
        table.columnLabels.push_back(u" " + DateStamp(day, order));
    }
    for (Slot& slot : slots) {
        if (!slot.used) break;
        std::vector<std::u16string> cells(table.days.size());
        for (const ExamValue& value : slot.row.values) {
            // The first value of a day comes first (the graph uses only that one); a later
            // value of the same day follows it in the cell, so none is hidden.
            auto column = columns.find(value.day);
            if (column == columns.end()) continue;
            std::u16string& cell = cells[column->second];
            if (!cell.empty()) cell += kSameDaySeparator;
            cell += value.value;
        }
        table.rows.push_back(std::move(slot.row));
        table.cells.push_back(std::move(cells));
    }
    return table;
}

std::vector<DayNumber> ShownDaysOf(const PatientRecord& record, DayNumber today) {
    return ShownDayList(DatesOf(record), JournalReader(record.problemJournal).EntryDays(), today);
}

}  // namespace pondrel
