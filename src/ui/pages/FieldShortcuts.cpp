#include "ui/pages/FieldShortcuts.h"

#include <QEvent>
#include <QLabel>

#include "journal/ui/CSectionEdit.h"
#include "labels/FieldEditing.h"
#include "labels/Labels.h"
#include "labels/ui/CShortcutLists.h"
#include "labels/ui/FieldWidgetText.h"
#include "mainform/MainFormController.h"
#include "layout/Arrangement.h"
#include "layout/ui/CFieldWindows.h"
#include "platform/ui/CPopupList.h"
#include "records/PatientRecord.h"
#include "ui/pages/PageHost.h"
#include "ui/pages/FieldPages.h"

namespace pondrel {

namespace {
constexpr int kNormalWordLabel = 34;
constexpr int kQuickNotesPage = 37;
constexpr int kUsualDrugsField = 64;
constexpr int kPastHistoryField = 63;
}  // namespace

FieldShortcuts::FieldShortcuts(PageHost& view, FieldPages& fields, const Labels& labels)
    : m_view(view),
      m_fields(fields),
      m_labels(labels),
      m_lists(new CShortcutLists(labels, view.Page(0))) {
    // The list is moved over the page of the field it serves; the field keeps the focus.
    m_lists->setParent(this);
    m_lists->List()->setProperty(CFieldWindows::kKeepsFieldProperty, true);
    m_lists->SetPageOf([](QWidget* edit) { return edit->parentWidget(); });
    m_lists->SetOneLine([](const QWidget* edit) {
        return CFieldWindows::FieldOf(edit) >= 0 && qobject_cast<const CSectionEdit*>(edit) &&
               edit->height() < kMultiLineHeight;
    });
    m_lists->SetOpening([this] { m_view.ClosePopups(); });
    m_lists->SetSources([this] {
        ShortcutSources sources;
        if (const PatientRecord* record = m_view.Controller().ShownRecord()) {
            sources.usualDrugs = record->Field(kUsualDrugsField);
            sources.pastHistory = record->Field(kPastHistoryField);
            sources.quickNotes = record->Field(kQuickNotesField);
        }
        sources.quickNotesPageShown = m_view.CurrentPage() == kQuickNotesPage;
        return sources;
    });
    m_lists->SetQuickNotesStore(
        [this](const std::u16string& notes) { m_fields.ChangeField(kQuickNotesField, notes); });
}

FieldShortcuts::~FieldShortcuts() = default;

void FieldShortcuts::AttachWindows() {
    CFieldWindows& windows = m_fields.Windows();
    for (int field = 1; field < kFieldNumbers; ++field) {
        if (CSectionEdit* edit = windows.Edit(field)) m_lists->Attach(edit, field);
        QLabel* caption = windows.Caption(field);
        if (!caption || !m_captions.insert(caption).second) continue;
        caption->installEventFilter(this);
        connect(caption, &QObject::destroyed, this, [this, caption] { m_captions.erase(caption); });
    }
}

void FieldShortcuts::Attach(QWidget* edit, int field) {
    m_lists->Attach(edit, field);
}

bool FieldShortcuts::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress) return false;
    auto* caption = qobject_cast<QLabel*>(watched);
    if (!caption || !m_captions.contains(caption)) return false;
    CFieldWindows& windows = m_fields.Windows();
    for (int field = 1; field < kFieldNumbers; ++field) {
        if (windows.Caption(field) == caption) {
            CaptionTapped(field);
            return true;
        }
    }
    return false;
}

void FieldShortcuts::CaptionTapped(int field) {
    CSectionEdit* edit = m_fields.Windows().Edit(field);
    if (!edit || !m_fields.Record()) return;
    const FieldState before = FieldWidgetText::State(edit);
    const std::optional<FieldState> after =
        ToggleCaptionWord(field, before, m_labels.Label(kNormalWordLabel));
    if (!after) return;
    // Through the window's own cursor: stored as typing is.
    FieldWidgetText::Apply(edit, before, *after);
    edit->setFocus(Qt::MouseFocusReason);
}

}  // namespace pondrel
