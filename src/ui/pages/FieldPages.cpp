#include "ui/pages/FieldPages.h"

#include <algorithm>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>

#include "journal/ui/CSectionEdit.h"
#include "labels/Labels.h"
#include "layout/FactoryArrangement.h"
#include "layout/WindowsEditor.h"
#include "layout/ui/CFieldWindows.h"
#include "mainform/MainFormController.h"
#include "platform/Platform.h"
#include "platform/ui/QtText.h"
#include "records/CCorvaneDoc.h"
#include "records/LocationList.h"
#include "records/PatientRecord.h"
#include "settings/Preferences.h"
#include "ui/pages/PageHost.h"
#include "ui/pages/FieldShortcuts.h"
#include "ui/pages/FreeFieldControls.h"
#include "ui/pages/IdentityControls.h"
#include "ui/pages/SummaryPageSet.h"

namespace pondrel {

namespace {

// Rectangles of the free-field layout, relative to the reference line, in the band of `page`.
Rect FreeInBand(const Rect& r, int page) {
    const int shift = kFreeFieldReference - PageTop(page);
    return {r.left, r.top + shift, r.right, r.bottom + shift};
}

}  // namespace

// The FormPage of one page number; the pages share the windows and the record.
class FieldPages::Page final : public FormPage {
public:
    Page(FieldPages& owner, int page) : m_owner(owner), m_page(page) {}
    void ShowRecord(PatientRecord* record) override { m_owner.ShowRecord(record); }
    // Every change is in the record as it is typed; the window with the focus gets its unit and
    // band as when it is left.
    void Commit() override { m_owner.LeaveFocusedField(); }
    void Release() override { m_owner.m_record = nullptr; }
    int Number() const { return m_page; }

private:
    FieldPages& m_owner;
    int m_page;
};

FieldPages::FieldPages(PageHost& view, Platform& platform, FileDialogs& dialogs,
                       std::u16string installationFolder)
    : m_view(view),
      m_platform(platform),
      m_windows(std::make_unique<CFieldWindows>()),
      m_changes(view.Document().Patients(), view.Locations(), platform.clock, platform.messages),
      m_arrangements(platform.files, platform.messages, dialogs, std::move(installationFolder)) {
    m_identity = std::make_unique<IdentityControls>(view, *this, platform, view.Page(0),
                                                    view.Page(kIdentityPage));
    m_freeControls = std::make_unique<FreeFieldControls>(view, *this);
    connect(m_windows.get(), &CFieldWindows::fieldEdited, this,
            [this](int field) { OnEdited(field); });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget* before, QWidget* now) { OnFocusChanged(before, now); });
    for (int page = 0; page < kFormPages; ++page)
        m_pages.push_back(std::make_unique<Page>(*this, page));
    for (int page : {kFreeFieldPages[0], kFreeFieldPages[1], kIdentityPage}) {
        m_pages.push_back(std::make_unique<Page>(*this, page));
    }
    for (const auto& page : m_pages) view.Controller().SetPage(page->Number(), page.get());
    m_arrangements.UsePatientArrangement({});
    ApplyArrangement();
    PlaceIdentityPage();
}

FieldPages::~FieldPages() {
    for (const auto& page : m_pages) m_view.Controller().SetPage(page->Number(), nullptr);
}

std::u16string FieldPages::CaptionOf(int field) const {
    return m_labels ? m_labels->Caption(field) : FieldName(field);
}

void FieldPages::SetLabels(const Labels& labels) {
    m_labels = &labels;
    m_changes.SetLabels(labels);
    m_identity->SetLabels(labels);
    if (!m_shortcuts) m_shortcuts = std::make_unique<FieldShortcuts>(m_view, *this, labels);
    m_shortcuts->AttachWindows();
    for (int field = 1; field < kFieldNumbers; ++field)
        m_windows->SetCaption(field, CaptionOf(field));
}

void FieldPages::ApplyOutcome(const PreferencesOutcome& /*outcome*/,
                              const Preferences& preferences) {
    ApplyPreferences(preferences);
}

void FieldPages::SetPatientIcons(const QImage& icons) {
    m_identity->SetPatientIcons(icons);
}

void FieldPages::ApplyPreferences(const Preferences& preferences) {
    m_changes.SetUnits(preferences.regional.units);
    m_changes.SetNewFolderIsHospitalisation(preferences.general.newFolderType == 0);
    m_freeFields = IsUnarrangedFreeFieldLayout(preferences.freeFields) ? FactoryFreeFieldLayout()
                                                                       : preferences.freeFields;
    m_freeTexts = preferences.freeFields.pageTexts;
    PlaceFreeFields();
    m_freeControls->ShowSettings();
    // The form shows the arrangement in force, which the preferences keep a copy of.
    StoreArrangement(m_view.GetPreferences());
    m_view.RebuildPageOrder();
}

void FieldPages::StoreArrangement(Preferences& preferences) const {
    const Arrangement& a = m_arrangements.Current();
    preferences.fieldLayouts = a.fields;
    preferences.pages = a.pages;
    preferences.fieldLayoutsRead = true;
    preferences.freeFields.windows = m_freeFields.windows;
    preferences.freeFields.captions = m_freeFields.captions;
    preferences.freeFields.pageTexts = m_freeTexts;
}

void FieldPages::ApplyArrangement() {
    const Arrangement& a = m_arrangements.Current();
    std::vector<int> tabOrder;
    for (int page = 0; page < kFormPages; ++page) {
        for (int field : FieldsOnPage(a, page)) {
            const FieldLayout& layout = a.fields[static_cast<size_t>(field)];
            m_windows->Place(field, m_view.Page(page),
                             PlacedRect(InBand(layout.window, page), kMinWindowHeight),
                             PlacedRect(InBand(layout.caption, page), kMinCaptionHeight), true);
            m_windows->SetCaption(field, CaptionOf(field));
            tabOrder.push_back(field);
        }
    }
    for (int field = 1; field < kFieldNumbers; ++field) {
        if (IsPlacedByArrangement(field) && !PageOfField(a, field)) m_windows->Hide(field);
    }
    m_windows->SetTabOrder(tabOrder);
    StoreArrangement(m_view.GetPreferences());
    m_identity->ShowPageButtons(a, m_view.Navigation().WindowsEditorOpen());
    m_view.RebuildPageOrder();
    if (m_record) ShowRecord(m_record);
    if (m_applied) m_applied();
}

void FieldPages::PlaceFreeFields() {
    std::vector<int> tabOrder;
    for (int i = 0; i < kFreeFields; ++i) {
        const int field = kFreeFieldFirst + i;
        const int page = i < kFreeFields / 2 ? kFreeFieldPages[0] : kFreeFieldPages[1];
        const FreeFieldRect& window = m_freeFields.windows[static_cast<size_t>(i)];
        const FreeFieldRect& caption = m_freeFields.captions[static_cast<size_t>(i)];
        m_windows->Place(
            field, m_view.Page(page), PlacedRect(FreeInBand(window.rect, page), kMinWindowHeight),
            PlacedRect(FreeInBand(caption.rect, page), kMinCaptionHeight), window.visible != 0);
        if (caption.visible == 0) {
            if (QLabel* label = m_windows->Caption(field)) label->hide();
        }
        m_windows->SetCaption(field, CaptionOf(field));
        tabOrder.push_back(field);
    }
    m_windows->SetTabOrder(tabOrder);
    if (m_record) ShowRecord(m_record);
}

void FieldPages::PlaceIdentityPage() {
    std::vector<int> tabOrder;
    for (const FixedPlacement& p : IdentityPageLayout()) {
        m_windows->Place(p.field, m_view.Page(kIdentityPage), p.window, p.caption, true);
        m_windows->SetCaption(p.field, CaptionOf(p.field));
        tabOrder.push_back(p.field);
    }
    m_windows->SetTabOrder(tabOrder);
}

void FieldPages::ShowRecord(PatientRecord* record) {
    m_record = record;
    if (m_shortcuts) m_shortcuts->AttachWindows();  // windows placed since
    if (record && m_arrangements.UsePatientArrangement(record->Field(202))) {
        ApplyArrangement();  // shows the record again
        return;
    }
    static const std::u16string kEmpty;
    m_windows->ShowTexts([&](int field) -> std::u16string_view {
        if (!record) return kEmpty;
        return record->Field(field);
    });
    // The age is always today's.
    if (record) m_windows->ShowText(15, m_changes.AgeOf(*record));
    m_identity->ShowRecord(record);
    OpenWindowsWhenBegun();
}

bool FieldPages::IsClosedUntilBegun(int field) const {
    return m_record && m_record->inUse == 0 && (field < 1 || field > 6);
}

void FieldPages::OpenWindowsWhenBegun() {
    for (int field = 0; field < kFieldNumbers; ++field) {
        CSectionEdit* edit = m_windows->Edit(field);
        if (!edit) continue;
        const bool closed = IsClosedUntilBegun(field);
        if (edit->isReadOnly() != closed) edit->setReadOnly(closed);
    }
}

void FieldPages::OnEdited(int field) {
    if (!m_record) {
        m_windows->ShowText(field, {});
        return;
    }
    AfterChange(m_changes.OnFieldChanged(*m_record, field, m_windows->Text(field)), field);
}

void FieldPages::OnFocusChanged(QWidget* before, QWidget* now) {
    // A tap into a window closed until the record is begun says why nothing can be typed there.
    if (const int tapped = CFieldWindows::FieldOf(now);
        tapped >= 0 && m_windows->Edit(tapped) == now && IsClosedUntilBegun(tapped)) {
        m_platform.messages.ShowNotice(std::u16string(kNotBegunNotice), 2000, false);
    }
    // No widget with the focus: the program's window was left, not the field.
    const int field = CFieldWindows::FieldOf(before);
    if (field < 0 || !now || CFieldWindows::KeepsField(now)) return;
    // A window of these pages only (the property names other field edits too).
    if (m_windows->Edit(field) != before) return;
    LeaveField(field);
}

void FieldPages::LeaveField(int field) {
    if (!m_record) return;
    AfterChange(m_changes.OnFieldLeft(*m_record, field, CaptionOf(field)), -1);
}

void FieldPages::LeaveFocusedField() {
    CSectionEdit* edit = qobject_cast<CSectionEdit*>(QApplication::focusWidget());
    const int field = CFieldWindows::FieldOf(edit);
    if (field < 0 || m_windows->Edit(field) != edit) return;
    const size_t caret = edit->Caret();
    LeaveField(field);
    edit->SetCaret(std::min(caret, edit->Text().size()));
}

FieldChangeResult FieldPages::ChangeField(int field, std::u16string_view text) {
    // The record on screen: the tasks and quick-notes pages are shown without the windows, which
    // may still hold the record shown before a move to another patient.
    m_record = m_view.Controller().ShownRecord();
    if (!m_record) return {};
    FieldChangeResult result = m_changes.OnFieldChanged(*m_record, field, text);
    AfterChange(result, -1);
    return result;
}

void FieldPages::AfterChange(const FieldChangeResult& result, int editedField) {
    if (!m_record) return;
    for (int field : result.shown) {
        CSectionEdit* edit = m_windows->Edit(field);
        if (!edit) continue;
        const bool typing = field == editedField && edit->hasFocus();
        edit->ShowText(m_record->Field(field));
        // Typing goes on after a corrected text ("56" became "1956").
        if (typing) edit->SetCaret(m_record->Field(field).size());
    }
    if (result.summaries) {
        if (m_summaries) m_summaries->Pages().MarkAllStale();
    }
    if (result.arrangement && m_arrangements.UsePatientArrangement(m_record->Field(202))) {
        ApplyArrangement();
    }
    if (result.begun || result.patientList) {
        m_view.Controller().RefreshPatientList();
    } else if (result.patientBox) {
        m_view.Controller().RefreshPatientBox();
    }
    m_identity->ShowRecord(m_record);
    if (result.begun) OpenWindowsWhenBegun();
}

void FieldPages::FollowFocus(QWidget* before, QWidget* now) {
    if (!now || !now->parentWidget()) return;
    int page = -1;
    for (int p = 0; p < PageHost::kPageCount; ++p) {
        if (m_view.Page(p) == now->parentWidget()) page = p;
    }
    if (page < 0 || page == m_view.CurrentPage()) return;
    if (CFieldWindows::FieldOf(before) >= 0 && CFieldWindows::FieldOf(now) >= 0) {
        m_view.ShowPage(page);  // Tab went on to the next page
    } else {
        now->clearFocus();  // nobody types into a window out of view
    }
}

}  // namespace pondrel
