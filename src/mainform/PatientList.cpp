#include "mainform/PatientList.h"

#include <algorithm>
#include <unordered_map>

#include "journal/Ages.h"
#include "journal/JournalReader.h"
#include "labels/Labels.h"
#include "platform/Text.h"
#include "records/PatientRecord.h"
#include "records/PatientSet.h"

namespace pondrel {

namespace {

constexpr int kIconCount = 24;
constexpr int kCheckedLabel = 186;

PatientListRow RowOf(const PatientRecord& r, int position, const Labels& labels,
                     const AgeWords& words, DateOrder dateOrder, const DateTime& now) {
    using R = PatientListRow;
    PatientListRow row;
    row.record = position;
    row.icon = ((r.icon % kIconCount) + kIconCount) % kIconCount;
    row.checked = r.checked == 1;
    const std::u16string& title = labels.TitleWord(r.sex);
    const std::u16string& last = r.Field(2);
    const std::u16string& first = r.Field(3);
    auto& c = row.columns;
    c[R::kRoom] = r.Field(94);
    c[R::kPatient] =
        labels.TitleBefore(r.sex) + last + u" " + first.substr(0, first.empty() ? 0 : 1) + u"  " + r.Field(6);
    c[R::kHeadDoctor] = r.Field(60);
    c[R::kProblem] = JournalReader(r.problemJournal).GetProblemTitle(0);
    c[R::kPosition] = ToText(position + 1);
    c[R::kRoomAgain] = r.Field(94);
    c[R::kTitle] = title;
    c[R::kLastName] = last;
    c[R::kFirstName] = first;
    c[R::kBirthDate] = BirthDateText(r.Field(4), r.Field(5), r.Field(6), dateOrder);
    c[R::kAge] = ShortAge(r, now, words);
    c[R::kWeight] = r.Field(7);
    c[R::kAdmission] = DisplayDate(r.admission.year, r.admission.month, r.admission.day, dateOrder);
    c[R::kLocation] = r.location;
    c[R::kChecked] = row.checked ? labels.Label(kCheckedLabel) : u"-";
    if (auto birth = BirthDateOf(r.Field(4), r.Field(5), r.Field(6))) {
        row.birthDays = DaysFromCivil(birth->year, birth->month, birth->day);
    }
    row.admissionSeconds = ToSeconds(r.admission);
    return row;
}

PatientListRow EmptyBed(const std::u16string& room) {
    PatientListRow row;
    row.columns.fill(std::u16string(kEmptyBedText));
    row.columns[PatientListRow::kRoom] = room;
    return row;
}

// Compares texts as a reader would: runs of digits by their value, letters ignoring case.
int CompareNatural(std::u16string_view a, std::u16string_view b) {
    size_t i = 0, j = 0;
    auto digit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
    while (i < a.size() && j < b.size()) {
        if (digit(a[i]) && digit(b[j])) {
            size_t ei = i, ej = j;
            while (ei < a.size() && digit(a[ei])) ++ei;
            while (ej < b.size() && digit(b[ej])) ++ej;
            // Without leading zeros, the longer run is the larger number.
            size_t si = i, sj = j;
            while (si + 1 < ei && a[si] == u'0') ++si;
            while (sj + 1 < ej && b[sj] == u'0') ++sj;
            if (ei - si != ej - sj) return ei - si < ej - sj ? -1 : 1;
            const int c = a.substr(si, ei - si).compare(b.substr(sj, ej - sj));
            if (c != 0) return c < 0 ? -1 : 1;
            i = ei;
            j = ej;
            continue;
        }
        const char16_t ca = FoldCase(a[i]);
        const char16_t cb = FoldCase(b[j]);
        if (ca != cb) return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

int CompareValues(int64_t a, int64_t b) {
    return a < b ? -1 : a > b ? 1 : 0;
}

// The order of two rows by a column: the date columns by their value, the others by their text.
int CompareRows(const PatientListRow& a, const PatientListRow& b, int column) {
    using R = PatientListRow;
    if (column == R::kAdmission) {
        const int c = CompareValues(a.admissionSeconds, b.admissionSeconds);
        if (c != 0) return c;
    } else if (column == R::kBirthDate || column == R::kAge) {
        if (a.birthDays && b.birthDays) {
            // The youngest has the smallest age and the latest birth date.
            const int c = column == R::kAge ? CompareValues(*b.birthDays, *a.birthDays)
                                            : CompareValues(*a.birthDays, *b.birthDays);
            if (c != 0) return c;
        } else if (a.birthDays.has_value() != b.birthDays.has_value()) {
            return a.birthDays ? -1 : 1;
        }
    }
    return CompareNatural(a.columns[column], b.columns[column]);
}

}  // namespace

std::vector<PatientListRow> BuildPatientList(const PatientSet& patients,
                                             const std::vector<RoomListRow>& roomList,
                                             PatientListOrder order, const Labels& labels,
                                             const AgeWords& words, DateOrder dateOrder,
                                             const DateTime& now) {
    std::vector<PatientListRow> byRecord;
    byRecord.reserve(static_cast<size_t>(patients.Count()));
    for (int i = 0; i < patients.Count(); ++i) {
        byRecord.push_back(RowOf(*patients.At(i), i, labels, words, dateOrder, now));
    }
    const int column = std::clamp(order.sortColumn, 0, kPatientListColumns - 1);
    if (column != 0) {
        const bool descending = order.sortDirection != 0;
        std::stable_sort(byRecord.begin(), byRecord.end(),
                         [&](const PatientListRow& a, const PatientListRow& b) {
                             const int c = CompareRows(a, b, column);
                             return descending ? c > 0 : c < 0;
                         });
        return byRecord;
    }
    std::vector<PatientListRow> rows;
    rows.reserve(byRecord.size() + roomList.size());
    // The patients of each room, in the set's order: by room and location, and by room alone
    // for the rooms of a file without locations. Names compare ignoring case.
    std::unordered_map<std::u16string, std::vector<size_t>> byRoomAndLocation;
    std::unordered_map<std::u16string, std::vector<size_t>> byRoom;
    for (size_t i = 0; i < byRecord.size(); ++i) {
        const PatientRecord& record = *patients.At(static_cast<int>(i));
        const std::u16string room = FoldCase(record.Field(94));
        byRoomAndLocation[room + u'\u0001' + FoldCase(record.location)].push_back(i);
        byRoom[room].push_back(i);
    }
    std::vector<bool> placed(byRecord.size(), false);
    for (const RoomListRow& room : roomList) {
        if (!room.isRoom || room.name.starts_with(u"->")) continue;
        const std::u16string name = FoldCase(room.name);
        const std::vector<size_t>* found = nullptr;
        if (room.location.empty()) {
            auto it = byRoom.find(name);
            if (it != byRoom.end()) found = &it->second;
        } else {
            auto it = byRoomAndLocation.find(name + u'\u0001' + FoldCase(room.location));
            if (it != byRoomAndLocation.end()) found = &it->second;
        }
        bool any = false;
        if (found != nullptr) {
            for (size_t i : *found) {
                if (placed[i]) continue;  // a room listed twice shows its patients once
                rows.push_back(byRecord[i]);
                placed[i] = true;
                any = true;
            }
        }
        if (!any) rows.push_back(EmptyBed(room.name));
    }
    for (size_t i = 0; i < byRecord.size(); ++i) {
        if (!placed[i]) rows.push_back(std::move(byRecord[i]));
    }
    return rows;
}

std::vector<PatientListRow> BuildPatientList(const PatientSet& patients,
                                             const std::vector<std::u16string>& roomList,
                                             PatientListOrder order, const Labels& labels,
                                             const AgeWords& words, DateOrder dateOrder,
                                             const DateTime& now) {
    std::vector<RoomListRow> rooms;
    rooms.reserve(roomList.size());
    for (const std::u16string& name : roomList) {
        RoomListRow row;
        row.name = name;
        row.isRoom = !name.starts_with(u"->");
        rooms.push_back(std::move(row));
    }
    return BuildPatientList(patients, rooms, order, labels, words, dateOrder, now);
}

PatientListOrder TapHeading(PatientListOrder order, int column) {
    if (column <= 0 || column >= kPatientListColumns) return {0, 0};
    if (column == order.sortColumn) return {column, order.sortDirection == 0 ? 1 : 0};
    return {column, 0};
}

PatientListTap TapRow(const PatientListRow& row, int column) {
    if (row.IsEmptyBed()) return PatientListTap::EmptyBed;
    return column == 0 ? PatientListTap::ToggleCheck : PatientListTap::Open;
}

int ColumnWidth(int stored) {
    return stored < 5 || stored > 200 ? 40 : stored;
}

}  // namespace pondrel
