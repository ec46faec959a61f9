// The pop-up lists of the main form (main menu, page list, patient list) and the input panel.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "mainform/MainMenu.h"
#include "platform/ui/QtText.h"
#include "ui/frame/CCommandBar.h"
#include "ui/frame/CCorvaneView.h"
#include "ui/frame/CInputPanel.h"
#include "ui/frame/CPatientList.h"
#include "ui/frame/PageListDelegate.h"

namespace pondrel {

namespace {

constexpr int kPageListColumns = 3;
constexpr int kPageListRowHeight = 21;
constexpr int kPageListFontPixels = 10;
constexpr int kIconSize = 16;

}  // namespace

bool CCorvaneView::IsEditableField(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
           qobject_cast<const QPlainTextEdit*>(widget);
}

// ---- Pop-up lists -----------------------------------------------------------------------------

void CCorvaneView::BuildPopups() {
    m_mainMenu = new QListWidget(this);
    m_mainMenu->setObjectName(QStringLiteral("mainMenu"));
    m_mainMenu->setFrameShape(QFrame::Box);
    m_mainMenu->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_mainMenu->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mainMenu->setUniformItemSizes(true);
    // The field being edited keeps the focus (Cut, Copy and Paste act on it).
    m_mainMenu->setFocusPolicy(Qt::NoFocus);
    QFont font = m_mainMenu->font();
    font.setPixelSize(11);
    m_mainMenu->setFont(font);
    m_mainMenu->hide();
    connect(m_mainMenu, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { OnMenuItem(item); });
    connect(m_mainMenu, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { OnMenuItem(item); });
    FillMainMenu();

    m_pageList = new QListWidget(this);
    m_pageList->setObjectName(QStringLiteral("pageList"));
    m_pageList->setFrameShape(QFrame::NoFrame);
    m_pageList->setViewMode(QListView::ListMode);
    m_pageList->setFlow(QListView::LeftToRight);
    m_pageList->setWrapping(true);
    m_pageList->setResizeMode(QListView::Adjust);
    m_pageList->setUniformItemSizes(true);
    m_pageList->setFocusPolicy(Qt::NoFocus);
    m_pageList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // At most 39 items in 13 rows: the list never needs to scroll.
    m_pageList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pageList->setGridSize(QSize((kWidth - 3) / kPageListColumns, kPageListRowHeight));
    m_pageList->setIconSize(QSize(kIconSize, kIconSize));
    m_pageList->setTextElideMode(Qt::ElideRight);
    // A name too long for its cell takes a second line rather than being cut after a few letters.
    m_pageList->setItemDelegate(new PageListDelegate(m_pageList));
    m_pageList->setStyleSheet(
        QStringLiteral("QListWidget { background: #f2f5fb; border-top: 1px solid #5070a8; }"));
    font.setPixelSize(kPageListFontPixels);
    m_pageList->setFont(font);
    m_pageList->hide();
    connect(m_pageList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { OnPageItem(item); });
    connect(m_pageList, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { OnPageItem(item); });

    m_inputPanel = new CInputPanel(this);
    m_inputPanel->move(0, kHeight - CInputPanel::kHeight);
    m_inputPanel->hide();
}

void CCorvaneView::FillMainMenu() {
    m_mainMenu->clear();
    for (const MenuEntry& entry : MainMenuEntries(Navigation().WindowsEditorOpen())) {
        auto* item = new QListWidgetItem(ToQString(entry.text), m_mainMenu);
        item->setData(Qt::UserRole, static_cast<int>(entry.command));
        item->setSizeHint(QSize(kMainMenuWidth - 4, kMenuRowHeight));
        if (entry.command == MenuCommand::Separator) item->setForeground(QColor(120, 120, 120));
    }
}

QIcon CCorvaneView::PageIcon(int page) const {
    const int icon = Navigation().IconOf(page);
    if (m_scrollListIcons.width() < (icon + 1) * kIconSize) return {};
    return QIcon(
        QPixmap::fromImage(m_scrollListIcons.copy(icon * kIconSize, 0, kIconSize, kIconSize)));
}

void CCorvaneView::FillPageList() {
    m_pageList->clear();
    for (int page : Navigation().Order()) {
        auto* item =
            new QListWidgetItem(PageIcon(page), m_pageNames[static_cast<size_t>(page)], m_pageList);
        item->setData(Qt::UserRole, page);
        // Within its cell, so a long name is shortened rather than drawn over its neighbour.
        item->setSizeHint(m_pageList->gridSize());
        item->setToolTip(m_pageNames[static_cast<size_t>(page)]);
    }
}

void CCorvaneView::PlacePopup(QWidget* popup, int width, int height) {
    // The lists stand on the command bar.
    popup->setGeometry(0, kHeight - height, width, height);
    popup->show();
    popup->raise();
    if (m_notice->isVisible()) m_notice->raise();
}

bool CCorvaneView::MainMenuOpen() const {
    return m_mainMenu->isVisible();
}

bool CCorvaneView::PageListOpen() const {
    return m_pageList->isVisible();
}

void CCorvaneView::ClosePopups() {
    m_mainMenu->hide();
    m_pageList->hide();
    if (m_patientList && m_patientList->isVisible()) {
        m_patientList->StoreColumns();
        m_patientList->hide();
    }
}

void CCorvaneView::ToggleMainMenu() {
    if (MainMenuOpen()) {
        m_mainMenu->hide();
        return;
    }
    ClosePopups();
    m_mainMenu->clearSelection();
    m_mainMenu->setCurrentRow(-1);
    PlacePopup(m_mainMenu, kMainMenuWidth, m_mainMenu->count() * kMenuRowHeight + 4);
}

void CCorvaneView::TogglePageList() {
    if (PageListOpen()) {
        m_pageList->hide();
        return;
    }
    ClosePopups();
    PlacePopup(m_pageList, kWidth, PageNavigation::PageListHeight(m_pageList->count()));
    if (std::optional<int> position = Navigation().PositionOf(CurrentPage())) {
        m_pageList->setCurrentRow(*position);
        m_pageList->scrollToItem(m_pageList->currentItem());
    } else {
        m_pageList->setCurrentRow(-1);
    }
}

void CCorvaneView::TogglePatientList() {
    if (m_patientList) m_patientList->Toggle();
}

void CCorvaneView::OnPageItem(QListWidgetItem* item) {
    if (!item) return;
    const int page = item->data(Qt::UserRole).toInt();
    m_pageList->hide();
    ShowPage(page);
}

void CCorvaneView::ToggleInputPanel() {
    const bool show = !m_inputPanel->isVisible();
    QWidget* focused = QApplication::focusWidget();
    if (!focused || !IsEditableField(focused)) focused = m_lastField;
    // A field of a page scrolled away does not get the focus back.
    if (focused && !IsOnShownPage(focused)) focused = nullptr;
    m_inputPanel->move(0, height() - CInputPanel::kHeight);
    m_inputPanel->setVisible(show);
    if (show) m_inputPanel->raise();
    if (m_commandBar) m_commandBar->SetInputPanelDown(show);
    // The field being edited keeps its focus.
    if (focused) focused->setFocus(Qt::OtherFocusReason);
}

bool CCorvaneView::InputPanelShown() const {
    return m_inputPanel->isVisible();
}

}  // namespace pondrel
