#include "ui/pages/QuickNotesPage.h"

#include <QLabel>
#include <QPushButton>

#include "journal/ui/CSectionEdit.h"
#include "labels/Labels.h"
#include "mainform/MainFormController.h"
#include "platform/UserMessages.h"
#include "platform/ui/PageTitle.h"
#include "platform/ui/QtText.h"
#include "records/PatientRecord.h"
#include "ui/pages/PageHost.h"
#include "ui/pages/FieldPages.h"
#include "ui/pages/FieldShortcuts.h"

namespace pondrel {

namespace {
constexpr int kQuickNotesLabel = 191;
}  // namespace

QuickNotesPage::QuickNotesPage(PageHost& view, FieldPages& fields, UserMessages& messages)
    : m_view(view), m_fields(fields), m_messages(messages), m_page(new QWidget) {
    m_page->setObjectName(QStringLiteral("quickNotesPage"));
    auto* title = new QLabel(m_page);
    title->setObjectName(QStringLiteral("quickNotesTitle"));
    title->setGeometry(0, 0, 240, 16);
    StylePageTitle(title);
    m_notes = new CSectionEdit(m_page);
    m_notes->setObjectName(QStringLiteral("quickNotes"));
    m_notes->setProperty("pondrelField", kField);
    m_notes->setGeometry(2, 20, 236, 240);
    QFont font = m_notes->font();
    font.setPixelSize(11);
    m_notes->setFont(font);
    QObject::connect(m_notes, &CSectionEdit::edited, m_notes, [this] { Store(); });
    struct Button {
        const char* text;
        const char* name;
        void (QuickNotesPage::*action)();
    };
    static constexpr Button kButtons[] = {
        {"<--", "quickNotesReturn", &QuickNotesPage::NewBulletLine},
        {"Back", "quickNotesBack", &QuickNotesPage::Backspace},
        {"Clear", "quickNotesClear", &QuickNotesPage::Clear}};
    int left = 2;
    for (const Button& b : kButtons) {
        auto* button = new QPushButton(QString::fromLatin1(b.text), m_page);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setGeometry(left, 264, 60, 20);
        button->setFocusPolicy(Qt::NoFocus);
        const auto action = b.action;
        QObject::connect(button, &QPushButton::clicked, m_page,
                         [this, action] { (this->*action)(); });
        left += 64;
    }
    view.InstallPage(kPage, m_page);
    view.Controller().SetPage(kPage, this);
}

QuickNotesPage::~QuickNotesPage() {
    m_view.Controller().SetPage(kPage, nullptr);
}

void QuickNotesPage::SetLabels(const Labels& labels) {
    if (auto* title =
            m_page ? m_page->findChild<QLabel*>(QStringLiteral("quickNotesTitle")) : nullptr) {
        title->setText(ToQString(labels.Label(kQuickNotesLabel)));
    }
    // The notes take their shortcut list as any field (without quick-note rows here).
    if (FieldShortcuts* shortcuts = m_fields.Shortcuts(); shortcuts && m_notes) {
        shortcuts->Attach(m_notes, kField);
    }
}

void QuickNotesPage::ShowRecord(PatientRecord* record) {
    if (!m_notes) return;
    m_notes->ShowText(record ? record->Field(kField) : std::u16string());
    m_notes->setFocus(Qt::OtherFocusReason);
}

void QuickNotesPage::Leave() {
    if (m_notes && m_notes->hasFocus()) m_notes->clearFocus();
}

void QuickNotesPage::Store() {
    PatientRecord* record = m_fields.Record();
    if (!record || !m_notes) return;
    const FieldChangeResult result = m_fields.ChangeField(kField, m_notes->Text());
    // A refused change shows what the record holds.
    if (!result.stored) m_notes->ShowText(record->Field(kField));
}

void QuickNotesPage::NewBulletLine() {
    if (!m_notes) return;
    m_notes->setFocus(Qt::OtherFocusReason);
    // A new bulleted line at the caret; the notes start with a bullet too.
    if (!m_notes->Text().starts_with(u"-")) {
        QTextCursor start = m_notes->textCursor();
        start.movePosition(QTextCursor::Start);
        start.insertText(QStringLiteral("-"));
    }
    m_notes->textCursor().insertText(QStringLiteral("\n-"));
}

void QuickNotesPage::Backspace() {
    if (!m_notes) return;
    m_notes->setFocus(Qt::OtherFocusReason);
    m_notes->textCursor().deletePreviousChar();
}

void QuickNotesPage::Clear() {
    if (!m_notes) return;
    if (m_messages.ShowBox(u"Clear all ?", u"Clear all ?", BoxButtons::OkCancel) != BoxAnswer::Ok) {
        return;
    }
    m_notes->clear();
}

}  // namespace pondrel
