// Opening the pop-up shortcut list of a field whose list holds 300 rows (3 menus of 20 rows
// among them) with 50 quick-note lines on top, as a double tap does: the rows built from the
// labels, the list filled, placed and shown beside the field (offscreen Qt), then closed.
//   BM_BuildRows: the rows alone, without widgets;
//   BM_OpenList:  the whole opening and closing of the pop-up (aim: 5 ms).
// And the tap on one row of a hostile labels file: a row of 400 000 characters made of "*…*"
// comments, inserted into an empty field (BM_InsertCommentRow; one pass over the row).

#include <benchmark/benchmark.h>

#include <QPlainTextEdit>
#include <QWidget>

#include "labels/Labels.h"
#include "labels/ShortcutList.h"
#include "labels/ui/CShortcutLists.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

constexpr int kField = 91;  // Medicine

Labels LongListLabels() {
    Labels labels = Labels::Defaults();
    std::u16string list;
    for (int i = 0; i < 240; ++i) list += u"shortcut row number " + ToText(i) + u"|";
    for (int m = 0; m < 3; ++m) {
        list += u"\u00A220\u00A2Menu " + ToText(m) + u" (b)|";
        for (int i = 0; i < 20; ++i) list += u" &- menu item " + ToText(m * 20 + i) + u"|";
    }
    list += u"||";
    labels.shortcutLists[kField] = list;
    return labels;
}

ShortcutSources Sources() {
    ShortcutSources sources;
    for (int i = 0; i < 50; ++i) sources.quickNotes += u"-note line " + ToText(i) + u"\r\n";
    sources.usualDrugs = u"-aspirin 100 mg\r\n-bisoprolol 5 mg";
    return sources;
}

void BM_BuildRows(benchmark::State& state) {
    const Labels labels = LongListLabels();
    const ShortcutSources sources = Sources();
    ShortcutList list(labels);
    for (auto _ : state) {
        list.Build(kField, sources);
        benchmark::DoNotOptimize(list.Rows().data());
    }
    state.counters["rows"] = static_cast<double>(list.Rows().size());
}
BENCHMARK(BM_BuildRows)->Unit(benchmark::kMicrosecond);

void BM_OpenList(benchmark::State& state) {
    const Labels labels = LongListLabels();
    QWidget page;
    page.resize(240, 290);
    auto* edit = new QPlainTextEdit(&page);
    edit->setGeometry(10, 120, 220, 40);
    page.show();
    CShortcutLists lists(labels, &page);
    lists.SetSources([] { return Sources(); });
    lists.SetQuickNotesStore([](const std::u16string&) {});
    lists.Attach(edit, kField);
    for (auto _ : state) {
        lists.Toggle(edit);  // opens
        benchmark::DoNotOptimize(lists.List()->count());
        lists.Toggle(edit);  // closes
    }
    lists.Toggle(edit);
    state.counters["rows"] = static_cast<double>(lists.List()->count());
}
BENCHMARK(BM_OpenList)->Unit(benchmark::kMillisecond);

void BM_InsertCommentRow(benchmark::State& state) {
    constexpr int kTextField = 30;
    std::u16string row;
    while (row.size() < 400000) row += u"a *b* ";
    Labels labels = Labels::Defaults();
    labels.shortcutLists[kTextField] = row + u"||";
    ShortcutList list(labels);
    const ShortcutSources sources;
    list.Build(kTextField, sources);
    size_t index = 0;
    while (index < list.Rows().size() && list.Rows()[index].size() < 1000) ++index;
    const FieldState empty = FieldState::At(u"", 0);
    size_t length = 0;
    for (auto _ : state) {
        ShortcutList::Outcome outcome = list.Choose(index, empty, sources);
        length = outcome.field ? outcome.field->text.size() : 0;
        benchmark::DoNotOptimize(length);
    }
    state.counters["row_chars"] = static_cast<double>(list.Rows()[index].size());
    state.counters["inserted_chars"] = static_cast<double>(length);
}
BENCHMARK(BM_InsertCommentRow)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pondrel
