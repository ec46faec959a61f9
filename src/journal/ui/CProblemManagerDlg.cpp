#include "journal/ui/CProblemManagerDlg.h"

#include <algorithm>

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/Text.h"
#include "platform/UserMessages.h"
#include "platform/ui/DialogStyle.h"
#include "platform/ui/QtText.h"

namespace pondrel {

namespace {

constexpr int kStateColumn = 0;
constexpr int kNumberColumn = 1;
constexpr int kTitleColumn = 2;
constexpr char16_t kNoSelection[] = u"Select before a problem.";

// The state pictures of the list: a small coloured disc per state.
QIcon StatePicture(char16_t state) {
    QPixmap picture(10, 10);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor colour = state == kStateSolved   ? QColor(40, 150, 60)
                          : state == kStateClosed ? QColor(130, 130, 130)
                                                  : QColor(210, 50, 40);
    painter.setBrush(colour);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(1, 1, 8, 8);
    return QIcon(picture);
}

QPushButton* CommandButton(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CProblemManagerDlg::CProblemManagerDlg(std::u16string_view journal, int current,
                                       const Words& words, bool readOnly, size_t lengthLimit,
                                       UserMessages& messages, QWidget* parent)
    : QDialog(parent), m_manager(journal), m_words(words), m_messages(messages),
      m_readOnly(readOnly) {
    setObjectName("problemManagerDialog");
    setWindowTitle("Problem manager");
    FitHandheldForm(this);
    m_manager.SetLengthLimit(lengthLimit);
    m_selected = current >= 0 && current < m_manager.Count() ? current : -1;

    m_list = new QTableWidget(0, 3, this);
    m_list->setObjectName("problemList");
    m_list->setHorizontalHeaderLabels({"State", "N\u00B0", "Problem"});
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setShowGrid(true);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setDefaultSectionSize(16);
    m_list->setColumnWidth(kStateColumn, 75);
    m_list->setColumnWidth(kNumberColumn, 35);
    m_list->setColumnWidth(kTitleColumn, 277);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    m_list->setFont(font);
    QPalette palette = m_list->palette();
    palette.setColor(QPalette::Base, QColor(255, 250, 230));
    m_list->setPalette(palette);

    m_mergePrompt = new QLabel("Select destination problem\n to merge", this);
    m_mergePrompt->setObjectName("mergePrompt");
    m_mergeCancel = CommandButton(this, "mergeCancelButton", "Cancel");

    QPushButton* up = CommandButton(this, "upButton", "Up");
    QPushButton* down = CommandButton(this, "downButton", "Down");
    QPushButton* active = CommandButton(this, "activeButton", "Active");
    QPushButton* solved = CommandButton(this, "solvedButton", "Solved");
    QPushButton* closed = CommandButton(this, "closedButton", "Closed");
    QPushButton* remove = CommandButton(this, "deleteButton", "Delete");
    QPushButton* merge = CommandButton(this, "mergeButton", "Merge");
    QPushButton* ok = CommandButton(this, "okButton", "OK");
    QPushButton* cancel = CommandButton(this, "cancelButton", "Cancel");

    auto* commands = new QGridLayout;
    commands->setSpacing(2);
    commands->addWidget(up, 0, 0);
    commands->addWidget(down, 0, 1);
    commands->addWidget(remove, 0, 2);
    commands->addWidget(merge, 0, 3);
    commands->addWidget(active, 1, 0);
    commands->addWidget(solved, 1, 1);
    commands->addWidget(closed, 1, 2);
    auto* mergeRow = new QHBoxLayout;
    mergeRow->addWidget(m_mergePrompt, 1);
    mergeRow->addWidget(m_mergeCancel);
    auto* closing = new QHBoxLayout;
    closing->addStretch(1);
    closing->addWidget(ok);
    closing->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(m_list, 1);
    layout->addLayout(mergeRow);
    layout->addLayout(commands);
    layout->addLayout(closing);

    // A record held by another user is shown, never changed.
    for (QPushButton* command : {up, down, active, solved, closed, remove, merge}) {
        command->setEnabled(!m_readOnly);
    }
    connect(up, &QPushButton::clicked, this, [this] { Move(true); });
    connect(down, &QPushButton::clicked, this, [this] { Move(false); });
    connect(active, &QPushButton::clicked, this,
            [this] { SetState(kStateActive, u"Activate"); });
    connect(solved, &QPushButton::clicked, this, [this] { SetState(kStateSolved, u"Solved"); });
    connect(closed, &QPushButton::clicked, this, [this] { SetState(kStateClosed, u"Closed"); });
    connect(remove, &QPushButton::clicked, this, &CProblemManagerDlg::Delete);
    connect(merge, &QPushButton::clicked, this, &CProblemManagerDlg::StartMerge);
    connect(m_mergeCancel, &QPushButton::clicked, this, &CProblemManagerDlg::EndMerge);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QTableWidget::cellClicked, this, [this](int row, int) { RowTapped(row); });

    EndMerge();
    Rebuild();
}

std::u16string CProblemManagerDlg::StateWord(char16_t state) const {
    if (state == kStateSolved) return m_words.solved;
    if (state == kStateClosed) return m_words.closed;
    return m_words.active;
}

void CProblemManagerDlg::Rebuild() {
    const int count = m_manager.Count();
    m_list->setRowCount(count);
    for (int p = 0; p < count; ++p) {
        const char16_t state = m_manager.State(p);
        auto* stateItem = new QTableWidgetItem(StatePicture(state), ToQString(StateWord(state)));
        m_list->setItem(p, kStateColumn, stateItem);
        m_list->setItem(p, kNumberColumn, new QTableWidgetItem(QString::number(p + 1)));
        m_list->setItem(p, kTitleColumn, new QTableWidgetItem(ToQString(m_manager.Title(p))));
    }
    if (m_selected >= count) m_selected = count - 1;
    m_list->clearSelection();
    if (m_selected >= 0) {
        m_list->selectRow(m_selected);
        m_list->scrollToItem(m_list->item(m_selected, kTitleColumn));
    }
}

void CProblemManagerDlg::RowTapped(int row) {
    if (m_mergeSource >= 0) {
        Merge(row);
        return;
    }
    m_selected = row;
}

bool CProblemManagerDlg::HasSelection(const char16_t* caption) {
    if (m_selected >= 0 && m_selected < m_manager.Count()) return true;
    m_messages.ShowBox(kNoSelection, caption);
    m_list->setFocus();
    return false;
}

void CProblemManagerDlg::Move(bool up) {
    if (!HasSelection(up ? u"Move Up" : u"Move Down")) return;
    if (up) {
        if (m_manager.MoveUp(m_selected) != ProblemManager::Outcome::Done) {
            m_messages.ShowBox(u"The problem is already at the top of the list.", u"Move Up");
            return;
        }
        --m_selected;
    } else {
        if (m_manager.MoveDown(m_selected) != ProblemManager::Outcome::Done) {
            m_messages.ShowBox(u"The problem is already at the bottom of the list.", u"Move Down");
            return;
        }
        ++m_selected;
    }
    Rebuild();
}

void CProblemManagerDlg::SetState(char16_t state, const char16_t* caption) {
    if (!HasSelection(caption)) return;
    m_manager.SetState(m_selected, state);
    Rebuild();
}

void CProblemManagerDlg::Delete() {
    if (!HasSelection(u"Delete")) return;
    const std::u16string text =
        u"Do you really want to delete the selected problem << " + ToText(m_selected + 1) +
        u": " + m_manager.Title(m_selected) +
        u" >> ?\r\nThis operation is dangerous. All information about this problem from the "
        u"first day until the last day will be permanently lost.\r\n\r\nDelete ?";
    if (m_messages.ShowBox(text, u"Confirm delete problem", BoxButtons::OkCancel,
                           BoxIcon::Warning) != BoxAnswer::Ok) {
        return;
    }
    m_manager.Delete(m_selected);
    m_selected = m_manager.Count() - 1;
    Rebuild();
}

void CProblemManagerDlg::StartMerge() {
    if (!HasSelection(u"Fusion")) return;
    m_mergeSource = m_selected;
    m_mergePrompt->show();
    m_mergeCancel->show();
}

void CProblemManagerDlg::EndMerge() {
    m_mergeSource = -1;
    m_mergePrompt->hide();
    m_mergeCancel->hide();
}

void CProblemManagerDlg::Merge(int destination) {
    const int source = m_mergeSource;
    EndMerge();
    if (destination == source) {
        m_messages.ShowBox(u"Choose only two different problems", u"Merge");
        Rebuild();
        return;
    }
    const int a = std::min(source, destination);
    const int b = std::max(source, destination);
    const std::u16string text =
        u"Do you really want to merge the selected problems:\r\n    -" + m_manager.Title(a) +
        u"\r\n    -" + m_manager.Title(b) + u"\r\n\r\nFinal result:\r\n    -" +
        m_manager.Title(a) +
        u"\r\n\r\nYou will not be able to reverse this operation. If you are not sure, make a "
        u"backup of the file before.";
    if (m_messages.ShowBox(text, u"Confirm merge problems", BoxButtons::OkCancel,
                           BoxIcon::Warning) != BoxAnswer::Ok) {
        Rebuild();
        return;
    }
    if (m_manager.Merge(a, b) == ProblemManager::Outcome::TooBig) {
        m_messages.ShowBox(u"The merged problems would make the patient's file too big. "
                           u"Nothing was merged.",
                           u"Merge", BoxButtons::Ok, BoxIcon::Warning);
    } else {
        m_selected = a;
    }
    Rebuild();
}

}  // namespace pondrel
