#include "ui/pages/IdentityControls.h"

#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QFontMetrics>
#include <QPushButton>

#include "labels/Labels.h"
#include "layout/Arrangement.h"
#include "layout/ArrangementFormat.h"
#include "layout/FactoryArrangement.h"
#include "mainform/MainFormController.h"
#include "platform/DeviceFileSystem.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "platform/ui/CPopupList.h"
#include "platform/ui/QtText.h"
#include "records/PatientRecord.h"
#include "records/WorkingFolders.h"
#include "ui/pages/PageHost.h"
#include "journal/ui/CSectionEdit.h"
#include "layout/ui/CFieldWindows.h"
#include "ui/pages/FieldPages.h"

namespace pondrel {

namespace {

constexpr int kIconSize = 16;
constexpr int kPickerOpen = 139;
constexpr int kFormRowHeight = 11;
constexpr int kFormListMax = 215;
constexpr int kPageButtonsPerRow = 5;
constexpr int kPageButtonHeight = 16;
constexpr int kSectionIcon = 2;  // section caption "Icon"
constexpr int kSectionAge = 29;  // section caption "Age" of the identity page

QRect ToQRect(const Rect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

QFont Pixels(QFont font, int pixels) {
    font.setPixelSize(pixels);
    return font;
}

}  // namespace

IdentityControls::IdentityControls(PageHost& view, FieldPages& pages, Platform& platform,
                                   QWidget* bandZero, QWidget* identityBand)
    : QObject(bandZero), m_view(view), m_pages(pages), m_platform(platform), m_bandZero(bandZero) {
    const PageZeroControls zero;
    const IdentityPageControls identity;
    for (int i = 0; i < 2; ++i) {
        auto* button = new QPushButton(i == 0 ? bandZero : identityBand);
        button->setObjectName(i == 0 ? QStringLiteral("civility") : QStringLiteral("civility2"));
        button->setGeometry(ToQRect(i == 0 ? zero.civility : identity.civility));
        button->setFont(Pixels(button->font(), 10));
        button->setStyleSheet(QStringLiteral("QPushButton { padding: 0; }"));
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, [this] { ToggleCivility(); });
        m_civility[static_cast<size_t>(i)] = button;
    }

    m_iconCaption = new QLabel(bandZero);
    m_iconCaption->setObjectName(QStringLiteral("iconCaption"));
    m_iconCaption->setGeometry(ToQRect(zero.iconCaption));
    m_iconCaption->setFont(Pixels(m_iconCaption->font(), 10));
    m_iconCaption->setStyleSheet(QStringLiteral("QLabel { color: #203a6a; }"));
    m_iconPicker = new QListWidget(bandZero);
    m_iconPicker->setObjectName(QStringLiteral("iconPicker"));
    m_iconPicker->setGeometry(ToQRect(zero.iconPicker));
    m_iconPicker->setViewMode(QListView::IconMode);
    m_iconPicker->setFlow(QListView::LeftToRight);
    m_iconPicker->setWrapping(true);
    m_iconPicker->setMovement(QListView::Static);
    m_iconPicker->setIconSize(QSize(kIconSize, kIconSize));
    m_iconPicker->setGridSize(QSize(kIconSize + 3, kIconSize + 2));
    m_iconPicker->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_iconPicker->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_iconPicker->setFrameShape(QFrame::Box);
    m_iconPicker->installEventFilter(this);
    connect(m_iconPicker, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ChooseIcon(item->data(Qt::UserRole).toInt()); });

    m_selForm = new QPushButton(QStringLiteral("Sel form"), bandZero);
    m_selForm->setObjectName(QStringLiteral("selForm"));
    m_selForm->setGeometry(ToQRect(zero.selForm));
    m_selForm->setFont(Pixels(m_selForm->font(), 10));
    m_selForm->setStyleSheet(QStringLiteral("QPushButton { padding: 0; }"));
    m_selForm->setFocusPolicy(Qt::NoFocus);
    connect(m_selForm, &QPushButton::clicked, this, [this] { ToggleFormList(); });
    m_formList = new CPopupList(bandZero);
    m_formList->setObjectName(QStringLiteral("formList"));
    m_formList->setFont(Pixels(m_formList->font(), 10));
    m_formList->SetClosesOnFocusOut(true);
    m_formList->hide();
    connect(m_formList, &CPopupList::chosen, this, [this](int row) { ChooseForm(row); });

    m_ageCaption = new QLabel(identityBand);
    m_ageCaption->setObjectName(QStringLiteral("identityAgeCaption"));
    m_ageCaption->setGeometry(ToQRect(identity.ageCaption));
    m_ageCaption->setFont(Pixels(m_ageCaption->font(), 10));
    m_ageCaption->setStyleSheet(QStringLiteral("QLabel { color: #203a6a; }"));
    m_ageText = new QLabel(identityBand);
    m_ageText->setObjectName(QStringLiteral("identityAge"));
    m_ageText->setGeometry(ToQRect(identity.ageText));
    m_ageText->setFont(Pixels(m_ageText->font(), 10));
    // The bands are on screen already: their new children are shown one by one.
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_civility[0], m_civility[1], m_iconCaption, m_iconPicker,
                                         m_selForm, m_ageCaption, m_ageText}) {
        control->show();
    }
}

void IdentityControls::SetLabels(const Labels& labels) {
    m_labels = &labels;
    m_iconCaption->setText(ToQString(labels.SectionCaption(kSectionIcon)));
    m_ageCaption->setText(ToQString(labels.SectionCaption(kSectionAge)));
}

void IdentityControls::SetPatientIcons(const QImage& strip) {
    m_iconPicker->clear();
    for (int icon = 0; icon < kIconCount; ++icon) {
        auto* item = new QListWidgetItem(m_iconPicker);
        if (strip.width() >= (icon + 1) * kIconSize) {
            item->setIcon(
                QIcon(QPixmap::fromImage(strip.copy(icon * kIconSize, 0, kIconSize, kIconSize))));
        } else {
            item->setText(QString::number(icon));
        }
        item->setData(Qt::UserRole, icon);
        item->setToolTip(QString::number(icon));
    }
}

void IdentityControls::ShowRecord(const PatientRecord* record) {
    const int sex = record ? record->sex : kSexNotChosen;
    const QString word = m_labels ? ToQString(m_labels->CivilityWord(sex)) : QString();
    for (const auto& button : m_civility) {
        if (button) button->setText(word);
    }
    if (record && record->icon >= 0 && record->icon < m_iconPicker->count()) {
        m_iconPicker->setCurrentRow(record->icon);
    } else {
        m_iconPicker->setCurrentRow(-1);
    }
    const QString age = record ? ToQString(m_pages.Changes().AgeOf(*record)) : QString();
    m_ageText->setText(age);
    m_ageText->setToolTip(age);
}

void IdentityControls::ShowPageButtons(const Arrangement& arrangement, bool editorOpen) {
    for (auto& button : m_pageButtons) delete button.data();
    m_pageButtons.clear();
    std::vector<int> pages;
    for (int page = 1; page < kFormPages; ++page) {
        if (editorOpen || arrangement.pages[static_cast<size_t>(page)].aFlag != 0) {
            pages.push_back(page);
        }
    }
    const Rect area = PageZeroControls().pageButtons;
    const int width = (area.right - area.left) / kPageButtonsPerRow;
    for (size_t i = 0; i < pages.size(); ++i) {
        const int page = pages[i];
        std::u16string text = arrangement.pages[static_cast<size_t>(page)].buttonText;
        if (text.empty()) text = ToText(page);
        auto* button = new QPushButton(ToQString(text), m_bandZero);
        button->setObjectName(QStringLiteral("pageButton%1").arg(page));
        const int row = static_cast<int>(i) / kPageButtonsPerRow;
        const int column = static_cast<int>(i) % kPageButtonsPerRow;
        button->setGeometry(area.left + column * width, area.top + row * (kPageButtonHeight + 1),
                            width - 1, kPageButtonHeight);
        // The text is held whole ("Admission", "Discharge"): a smaller letter where 9 pixels
        // do not fit.
        QFont font = Pixels(button->font(), 9);
        for (int pixels = 8;
             pixels >= 6 && QFontMetrics(font).horizontalAdvance(button->text()) > width - 3;
             --pixels) {
            font = Pixels(font, pixels);
        }
        button->setFont(font);
        button->setStyleSheet(QStringLiteral("QPushButton { padding: 0; }"));
        button->setFocusPolicy(Qt::NoFocus);
        button->setToolTip(ToQString(arrangement.pages[static_cast<size_t>(page)].name));
        connect(button, &QPushButton::clicked, this, [this, page] { m_view.ShowPage(page); });
        button->show();
        m_pageButtons.push_back(button);
    }
}

void IdentityControls::ToggleCivility() {
    PatientRecord* record = m_pages.Record();
    if (!record || !m_pages.Changes().ToggleCivility(*record)) return;
    ShowRecord(record);
    m_view.Controller().RefreshPatientList();
}

void IdentityControls::ChooseIcon(int icon) {
    PatientRecord* record = m_pages.Record();
    if (record && m_pages.Changes().SetIcon(*record, icon)) {
        m_view.Controller().RefreshPatientList();
    }
    ShowRecord(record);
    m_iconPicker->clearFocus();
}

void IdentityControls::HideFormList() {
    // The focus stays on this page: on the form's name.
    if (m_formList->hasFocus()) {
        if (QWidget* form = m_pages.Windows().Edit(202)) form->setFocus(Qt::OtherFocusReason);
    }
    m_formList->hide();
}

void IdentityControls::ToggleFormList() {
    if (m_formList->isVisible()) {
        HideFormList();
        return;
    }
    // A folder that cannot be listed offers no arrangement either: the notice below says so.
    m_forms.clear();
    m_platform.files.ListFiles(WorkingFolders::kMyDocuments, arrangement_format::kFilePattern,
                               m_forms, kMaxForms);
    if (m_forms.empty()) {
        m_platform.messages.ShowNotice(u"No windows arrangement (*.wnd) in \\My Documents", 2000,
                                       false);
        return;
    }
    m_formList->SetRows(m_forms);
    const int height =
        std::min(kFormListMax, static_cast<int>(m_forms.size()) * kFormRowHeight + 4);
    const QRect button = m_selForm->geometry();
    const int top = std::max(0, button.top() - height);
    m_formList->setGeometry(button.right() - 150, top, 150, std::max(height, kFormRowHeight + 4));
    m_formList->show();
    m_formList->raise();
    m_formList->setFocus();
}

void IdentityControls::ChooseForm(int row) {
    HideFormList();
    if (row < 0 || static_cast<size_t>(row) >= m_forms.size()) return;
    m_pages.ChangeField(202, m_forms[static_cast<size_t>(row)]);
}

bool IdentityControls::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_iconPicker) {
        // The one-row list grows while it has the focus.
        const Rect closed = PageZeroControls().iconPicker;
        if (event->type() == QEvent::FocusIn) {
            const int bottom = closed.bottom;
            m_iconPicker->setGeometry(closed.left, bottom - kPickerOpen, closed.right - closed.left,
                                      kPickerOpen);
            m_iconPicker->raise();
        } else if (event->type() == QEvent::FocusOut) {
            m_iconPicker->setGeometry(ToQRect(closed));
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace pondrel
