#include "labels/ui/CQuickLoadDlg.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "platform/ui/DialogStyle.h"
#include "platform/ui/QtText.h"
#include "records/ReservedCharacters.h"

namespace pondrel {

namespace {

constexpr int kLetterColumns = 7;

QPushButton* NamedButton(QWidget* parent, const QString& name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::NoFocus);  // the caret stays in the search box
    return button;
}

}  // namespace

CQuickLoadDlg::CQuickLoadDlg(ArchiveNames names, Chooser choose, QWidget* parent)
    : QDialog(parent), m_names(std::move(names)), m_choose(std::move(choose)) {
    setObjectName("quickLoadDialog");
    setWindowTitle("Quick load file");
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(1);

    grid->addWidget(new QLabel("Patient :", this), 0, 0, 1, 2);
    m_search = new QLineEdit(this);
    m_search->setObjectName("searchBox");
    m_search->installEventFilter(this);
    grid->addWidget(m_search, 0, 2, 1, kLetterColumns - 2);

    int row = 1;
    int column = 0;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        QString text(QChar::fromLatin1(letter));
        auto* button = NamedButton(this, "letter" + text, text);
        connect(button, &QPushButton::clicked, this, [this, text] { Insert(text.toLower()); });
        grid->addWidget(button, row, column);
        if (++column == kLetterColumns) {
            column = 0;
            ++row;
        }
    }
    // The editing keys on a row of their own, wide enough for their words.
    ++row;
    auto* space = NamedButton(this, "spaceButton", "Spc");
    connect(space, &QPushButton::clicked, this, [this] { Insert(" "); });
    grid->addWidget(space, row, 0, 1, 2);
    auto* back = NamedButton(this, "backButton", "Back");
    connect(back, &QPushButton::clicked, this, [this] { m_search->backspace(); });
    grid->addWidget(back, row, 2, 1, 2);
    auto* clear = NamedButton(this, "clearButton", "Clear");
    connect(clear, &QPushButton::clicked, this, [this] { m_search->clear(); });
    grid->addWidget(clear, row, 4, 1, 3);
    ++row;

    m_rows = new QListWidget(this);
    m_rows->setObjectName("rows");
    grid->addWidget(m_rows, row++, 0, 1, kLetterColumns);
    m_help = new QLabel(
        "Quick load brings an archived patient back among the active patients.<br>"
        "Type the first letters of the first name, of the last name or of the year of birth "
        "(two words: both must match); the list is rebuilt at each letter. Tap a patient to "
        "load the file.",
        this);
    m_help->setObjectName("helpText");
    m_help->setWordWrap(true);
    m_help->hide();
    grid->addWidget(m_help, row - 1, 0, 1, kLetterColumns);

    m_count = new QLabel(this);
    m_count->setObjectName("countLine");
    grid->addWidget(m_count, row, 0, 1, 3);
    auto* help = NamedButton(this, "helpButton", "?");
    connect(help, &QPushButton::clicked, this, [this] { m_help->setVisible(!m_help->isVisible()); });
    grid->addWidget(help, row, 3);
    auto* close = NamedButton(this, "closeButton", "Close");
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    grid->addWidget(close, row, 4, 1, 3);
    ++row;
    m_full = new QLabel(this);
    m_full->setObjectName("fullLine");
    grid->addWidget(m_full, row, 0, 1, kLetterColumns);
    grid->setRowStretch(row - 1, 1);

    connect(m_search, &QLineEdit::textChanged, this, [this] { Search(); });
    connect(m_rows, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { RowChosen(m_rows->row(item)); });
    FitHandheldForm(this);
    Search();
}

void CQuickLoadDlg::Insert(const QString& text) {
    m_search->insert(text);
    m_search->setFocus();
}

void CQuickLoadDlg::Search() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_result = SearchArchive(m_names, m_search->text().toStdU16String());
    QApplication::restoreOverrideCursor();
    m_rows->clear();
    if (m_result.nothing) {
        auto* item = new QListWidgetItem("- Nothing -", m_rows);
        item->setFlags(Qt::ItemIsEnabled);
    }
    for (const std::u16string& row : m_result.rows) m_rows->addItem(ToQString(row));
    m_count->setText(ToQString(m_result.CountLine(m_names.Total())));
    m_full->setText(ToQString(m_result.FullLine()));
    m_full->setVisible(!m_result.FullLine().empty());
}

void CQuickLoadDlg::RowChosen(int row) {
    if (m_result.nothing || row < 0 || static_cast<size_t>(row) >= m_result.files.size()) return;
    const std::u16string& file = m_names.files[m_result.files[static_cast<size_t>(row)]];
    QuickLoadOutcome outcome = m_choose ? m_choose(file) : QuickLoadOutcome::Failed;
    if (outcome == QuickLoadOutcome::Moved || outcome == QuickLoadOutcome::AlreadyLoaded) {
        m_chosen = file;
        accept();
    }
}

bool CQuickLoadDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_search && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        for (QChar c : key->text()) {
            char16_t u = c.unicode();
            if (IsReservedCharacter(u) || u == u'{' || u == u'}') return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Search();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace pondrel
