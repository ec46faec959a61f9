// Any text as a journal, admission fields and exam titles, and as a growth curve set: the exam
// table, its graph and the curve reader must not crash, read out of bounds or loop, and every
// table cell must hold the values of its row on its day.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "charts/CCourbepercentile.h"
#include "charts/ExamGraph.h"
#include "charts/ExamTable.h"
#include "charts/GrowthCurves.h"
#include "labels/Labels.h"
#include "platform/UserMessages.h"
#include "records/PatientRecord.h"

namespace {

class QuietMessages final : public pondrel::UserMessages {
public:
    pondrel::BoxAnswer ShowBox(const std::u16string&, const std::u16string&, pondrel::BoxButtons,
                               pondrel::BoxIcon) override {
        return pondrel::BoxAnswer::Ok;
    }
    void ShowNotice(const std::u16string&, int, bool) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pondrel;
    std::u16string text;
    for (size_t i = 0; i + 1 < size; i += 2) {
        text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    }
    // The text cut in four: journal, field 79, field 7, exam titles.
    const size_t quarter = text.size() / 4;
    PatientRecord record;
    record.inUse = 1;
    record.subfolderType = u"Hosp";
    record.admissionDay = 2263;
    record.problemJournal = text.substr(0, 2 * quarter);
    record.SetField(79, text.substr(2 * quarter, quarter / 2));
    record.SetField(7, text.substr(2 * quarter + quarter / 2, quarter / 2));
    record.SetField(6, u"2005");
    Labels labels = Labels::Defaults();
    ExamTableInput input;
    input.record = &record;
    input.labels = &labels;
    input.shownDays = ShownDaysOf(record, 2263 + 40);
    input.examTitles = text.substr(3 * quarter);
    ExamTable table = BuildExamTable(input);
    if (table.rows.size() > 50 || table.cells.size() != table.rows.size()) std::abort();
    for (size_t r = 0; r < table.rows.size(); ++r) {
        if (table.cells[r].size() != table.days.size()) std::abort();
        // A cell holds the values of its row on its day, in order, joined by ";": none hidden,
        // none from elsewhere.
        for (size_t c = 0; c < table.days.size(); ++c) {
            std::u16string expected;
            for (const ExamValue& value : table.rows[r].values) {
                if (value.day != table.days[c]) continue;
                if (!expected.empty()) expected += u";";
                expected += value.value;
            }
            if (expected != table.cells[r][c]) std::abort();
        }
    }

    QuietMessages messages;
    static const GrowthCurves curves = GrowthCurves::Load(messages);
    ExamGraph graph(curves);
    graph.SetPatient(record);
    graph.SetCurvesShown(true);
    for (const ExamRow& row : table.rows) {
        graph.LoadGraphRow(row);
        graph.Layout(241, 148, {2006, 3, 13, 9, 0, 0}, nullptr);
    }

    CCourbepercentile set = CCourbepercentile::Parse(text);
    for (int c = 0; c < set.CurveCount(); ++c) {
        for (float age : {-5.0f, 0.0f, 12.5f, 1e9f}) set.CurveValue(c, age);
    }
    PercentileOf(set, 12, 10);
    return 0;
}
