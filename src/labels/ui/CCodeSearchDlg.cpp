#include "labels/ui/CCodeSearchDlg.h"

#include <QApplication>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include "platform/FileDialogs.h"
#include "platform/Text.h"
#include "platform/UserMessages.h"
#include "platform/ui/DialogStyle.h"
#include "platform/ui/QtText.h"
#include "records/ReservedCharacters.h"

namespace pondrel {

namespace {

// The characters refused from the keyboard in the dialogue.
bool IsRefusedKey(const QString& text) {
    for (QChar c : text) {
        char16_t u = c.unicode();
        if (IsReservedCharacter(u) || u == u'{' || u == u'}') return true;
    }
    return false;
}

QPushButton* NamedButton(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CCodeSearchDlg::CCodeSearchDlg(const std::u16string& diagnosis, CodeTable& table,
                               std::u16string& path, DeviceFileSystem& files,
                               FileDialogs& dialogs, UserMessages& messages, QWidget* parent)
    : QDialog(parent),
      m_table(table),
      m_path(path),
      m_files(files),
      m_dialogs(dialogs),
      m_messages(messages) {
    setObjectName("codeSearchDialog");
    setWindowTitle("ICD-10");
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(2);

    m_heading = new QLabel(this);
    m_heading->setObjectName("heading");
    grid->addWidget(m_heading, 0, 0, 1, 4);

    grid->addWidget(new QLabel("Problem", this), 1, 0);
    m_problem = new QLineEdit(ToQString(diagnosis), this);
    m_problem->setObjectName("problemBox");
    grid->addWidget(m_problem, 1, 1, 1, 3);

    auto* wordsButton = NamedButton(this, "wordsButton", "L");
    wordsButton->setFixedWidth(22);
    grid->addWidget(wordsButton, 2, 0);
    m_words = new QLineEdit(this);
    m_words->setObjectName("wordsBox");
    m_words->setPlaceholderText("Words");
    grid->addWidget(m_words, 2, 1, 1, 2);
    auto* search = NamedButton(this, "searchButton", "Search");
    grid->addWidget(search, 2, 3);

    m_results = new QTreeWidget(this);
    m_results->setObjectName("results");
    m_results->setColumnCount(2);
    m_results->setHeaderLabels({"Code", "Text"});
    m_results->setRootIsDecorated(false);
    m_results->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Wide enough for the longest dotted code of the factory table ("S72.001A").
    m_results->setColumnWidth(0, m_results->fontMetrics().horizontalAdvance("S72.001AW"));
    m_results->setColumnWidth(1, 700);
    m_results->header()->setDefaultAlignment(Qt::AlignLeft);
    m_results->setStyleSheet("QTreeWidget { background: rgb(255, 250, 230); }");
    grid->addWidget(m_results, 3, 0, 1, 4);

    m_diagnosisWords = new QListWidget(this);
    m_diagnosisWords->setObjectName("diagnosisWords");
    m_diagnosisWords->hide();
    grid->addWidget(m_diagnosisWords, 3, 0, 1, 2);

    grid->addWidget(NamedButton(this, "clearCodeButton", "Clear code"), 4, 0, 1, 2);
    grid->addWidget(NamedButton(this, "fullCodeButton", "Add full code"), 4, 2, 1, 2);
    grid->addWidget(NamedButton(this, "loadTableButton", "Load table"), 5, 0, 1, 2);
    auto* ok = NamedButton(this, "okButton", "Ok");
    grid->addWidget(ok, 5, 2);
    grid->addWidget(NamedButton(this, "cancelButton", "Cancel"), 5, 3);
    grid->setRowStretch(3, 1);

    connect(search, &QPushButton::clicked, this, &CCodeSearchDlg::Search);
    connect(wordsButton, &QPushButton::clicked, this, &CCodeSearchDlg::ToggleWords);
    connect(m_results, &QTreeWidget::itemClicked, this, [this] { RowChosen(); });
    connect(m_diagnosisWords, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { WordChosen(m_diagnosisWords->row(item)); });
    connect(findChild<QPushButton*>("clearCodeButton"), &QPushButton::clicked, this,
            &CCodeSearchDlg::ClearCode);
    connect(findChild<QPushButton*>("fullCodeButton"), &QPushButton::clicked, this,
            &CCodeSearchDlg::AddFullCode);
    connect(findChild<QPushButton*>("loadTableButton"), &QPushButton::clicked, this,
            &CCodeSearchDlg::AskTable);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(findChild<QPushButton*>("cancelButton"), &QPushButton::clicked, this,
            &QDialog::reject);
    for (QWidget* field : {static_cast<QWidget*>(m_problem), static_cast<QWidget*>(m_words)}) {
        field->installEventFilter(this);
    }
    FitHandheldForm(this);
    m_results->setColumnWidth(0, m_results->fontMetrics().horizontalAdvance("S72.001AW"));

    // Opening: the table in memory, else loaded now; a diagnosis carrying a code shows it.
    if (!m_table.loaded) LoadTable();
    ShowHeading();
    std::u16string code = CodeInDiagnosis(diagnosis);
    if (!code.empty()) {
        m_words->setText(ToQString(code));
        Search();
    }
}

std::u16string CCodeSearchDlg::Diagnosis() const {
    return WithoutReservedCharacters(m_problem->text().toStdU16String());
}

void CCodeSearchDlg::ShowHeading() {
    m_heading->setText(m_table.loaded ? "Diagnoses codes :   " + ToQString(m_table.title)
                                      : QString("Diagnoses codes :  --- "));
}

void CCodeSearchDlg::LoadTable() {
    std::u16string path = m_path.empty() ? std::u16string(CodeTable::kDefaultPath) : m_path;
    if (LoadCodeTable(m_files, m_messages, path, m_table)) {
        m_path = path;
    } else {
        m_path.clear();
    }
}

void CCodeSearchDlg::AskTable() {
    FileDialogRequest request;
    request.title = u"Open table";
    request.extension = u"txt";
    request.filter = u"Table (*.txt)|*.txt|Comma delimited (;) (*.csv)|*.csv|All files (*.*)|*.*";
    request.folder = std::u16string(WorkingFolders::kMyDocuments);
    std::optional<std::u16string> chosen = m_dialogs.AskOpenFile(request);
    if (!chosen) return;
    m_path = *chosen;
    LoadTable();
    ShowHeading();
}

void CCodeSearchDlg::Search() {
    if (!m_table.loaded) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CodeSearchResult result = SearchCodeTable(m_table, m_words->text().toStdU16String());
    QApplication::restoreOverrideCursor();
    m_results->clear();
    if (result.noWords) {
        m_messages.ShowBox(CodeSearchMessage(result), u"Search", BoxButtons::Ok,
                           BoxIcon::Warning);
        return;
    }
    if (result.rows.empty()) {
        auto* item = new QTreeWidgetItem(m_results, {QString(), "- Nothing -"});
        item->setFlags(Qt::ItemIsEnabled);
        return;
    }
    for (const CodeRow& row : result.rows) {
        auto* item = new QTreeWidgetItem(m_results, {ToQString(row.code), ToQString(row.wording)});
        item->setTextAlignment(0, Qt::AlignCenter);
    }
    std::u16string message = CodeSearchMessage(result);
    if (!message.empty()) {
        m_messages.ShowBox(message, u"Search result", BoxButtons::Ok, BoxIcon::Information);
    }
}

void CCodeSearchDlg::RowChosen() {
    QTreeWidgetItem* item = m_results->currentItem();
    if (item == nullptr || item->text(0).isEmpty()) return;
    m_problem->setText(ToQString(
        DiagnosisWithCode(m_problem->text().toStdU16String(), item->text(0).toStdU16String())));
    m_problem->end(false);
}

void CCodeSearchDlg::AddFullCode() {
    QTreeWidgetItem* item = m_results->currentItem();
    if (item == nullptr || item->text(0).isEmpty()) {
        m_messages.ShowBox(u"Select before a code in the list", u"Select a code", BoxButtons::Ok,
                           BoxIcon::Warning);
        return;
    }
    m_problem->setText(item->text(1) + " (" + item->text(0) + ")");
    m_problem->end(false);
}

void CCodeSearchDlg::ClearCode() {
    std::u16string text = m_problem->text().toStdU16String();
    size_t open = text.find(u'(');
    if (open == std::u16string::npos) return;
    m_problem->setText(ToQString(TrimRightSpaces(std::u16string_view(text).substr(0, open))));
}

void CCodeSearchDlg::ToggleWords() {
    if (m_diagnosisWords->isVisible()) {
        m_diagnosisWords->hide();
        return;
    }
    m_diagnosisWords->clear();
    std::vector<std::u16string> words = DiagnosisWords(m_problem->text().toStdU16String());
    if (words.empty()) m_diagnosisWords->addItem("Nothing");
    for (const std::u16string& word : words) m_diagnosisWords->addItem(ToQString(word));
    m_diagnosisWords->show();
    m_diagnosisWords->raise();
}

void CCodeSearchDlg::WordChosen(int row) {
    m_diagnosisWords->hide();
    std::vector<std::u16string> words = DiagnosisWords(m_problem->text().toStdU16String());
    if (row < 0 || static_cast<size_t>(row) >= words.size()) return;
    QString text = m_words->text();
    int caret = m_words->cursorPosition();
    QString insert = ToQString(words[static_cast<size_t>(row)]);
    if (caret > 0 && text[caret - 1] != ' ') insert.prepend(' ');
    text.insert(caret, insert);
    m_words->setText(text);
    m_words->setCursorPosition(caret + static_cast<int>(insert.size()));
}

void CCodeSearchDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Search();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool CCodeSearchDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (IsRefusedKey(key->text())) return true;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Search();
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonPress && m_diagnosisWords->isVisible()) {
        m_diagnosisWords->hide();
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace pondrel
