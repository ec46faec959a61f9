#include "ui/pages/PageList.h"

#include "charts/GrowthCurves.h"
#include "journal/ui/CProblemPanel.h"
#include "labels/ShortcutList.h"
#include "platform/Platform.h"
#include "records/WorkingFolders.h"
#include "ui/pages/CWindowsEditor.h"
#include "ui/pages/DisplayPreferences.h"
#include "ui/pages/DrawingPages.h"
#include "ui/pages/ExamPage.h"
#include "ui/pages/FieldPages.h"
#include "ui/pages/LetterPages.h"
#include "ui/pages/OrderSheetsPage.h"
#include "ui/pages/PageHost.h"
#include "ui/pages/ProblemPage.h"
#include "ui/pages/QuickNotesPage.h"
#include "ui/pages/SummaryPageSet.h"
#include "ui/pages/SyncPages.h"
#include "ui/pages/TaskPage.h"
#include "ui/pages/WardControls.h"

namespace pondrel {

template <class T>
T& PageList::Add(std::unique_ptr<T> piece) {
    T& added = *piece;
    m_plugins.push_back(piece.get());
    m_owned.push_back(std::move(piece));
    return added;
}

PageList::PageList(PageHost& host) {
    Platform& platform = host.GetPlatform();
    // The order is the order of the widgets in the form (Tab follows it) and of the hooks.
    ProblemPage& problems =
        Add(std::make_unique<ProblemPage>(host, platform.messages, platform.clock));
    m_curves = std::make_unique<GrowthCurves>(GrowthCurves::Load(platform.messages));
    FieldPages& fields = Add(
        std::make_unique<FieldPages>(host, platform, host.Dialogs(), host.Folders().installation));
    fields.Changes().SetGrowthCurves(m_curves.get());
    // The problem panel's shortcut lists move quick-note lines through the form's one path.
    problems.Panel()->SetQuickNotesStore(
        [&fields](const std::u16string& notes) { fields.ChangeField(kQuickNotesField, notes); });
    Add(std::make_unique<TaskPage>(host, fields, platform.messages));
    Add(std::make_unique<QuickNotesPage>(host, fields, platform.messages));
    Add(std::make_unique<CWindowsEditor>(host, fields));
    Add(std::make_unique<DrawingPages>(host, fields));
    Add(std::make_unique<DisplayPreferences>(host, fields));
    SummaryPageSet& summaries =
        Add(std::make_unique<SummaryPageSet>(host, platform.clock, problems));
    fields.SetSummaries(&summaries);
    Add(std::make_unique<LetterPages>(host, platform, host.Folders(), problems, summaries));
    SyncPages& sync = Add(std::make_unique<SyncPages>(host, platform, host.Folders()));
    summaries.SetRooms(&Add(std::make_unique<WardControls>(host, fields, platform, &sync)));
    Add(std::make_unique<ExamPage>(host, platform.clock, *m_curves));
    Add(std::make_unique<OrderSheetsPage>(host, platform.clock));
}

PageList::~PageList() {
    // The letter and summary pages read the problem page, the pages of the tasks and quick
    // notes the field pages: the later pieces go first. The connection ends with its pages.
    if (auto* fields = Find<FieldPages>()) fields->SetSummaries(nullptr);
    if (auto* summaries = Find<SummaryPageSet>()) summaries->SetRooms(nullptr);
    while (!m_owned.empty()) {
        m_plugins.pop_back();
        m_owned.pop_back();
    }
}

}  // namespace pondrel
