#include "charts/ui/CExamsGraphDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QValidator>

#include "platform/ui/DialogStyle.h"
#include "platform/ui/QtText.h"

namespace pondrel {

namespace {

constexpr int kHelpHeight = 237;

const char kHelpPage[] =
    "<p><b>Titles of the exams</b></p>"
    "<p>The exam table of the graph page reads the results written in the Examinations and "
    "Status sections (<i>Hb 12.5</i>, <i>CRP 5</i>) and in the admission fields. This list "
    "fixes which rows the table shows first, and in which order.</p>"
    "<p>An exam written in different ways is one entry, its names separated by commas: "
    "<i>Leu,WBC</i> or <i>Hb,Hemoglobin</i>. The first name is the one shown. A name in the "
    "text belongs to an entry when it is one of its names, whatever the case and the blanks: "
    "a longer name is another exam (<i>Creatinine clearance</i> is not <i>Creatinine</i>), so "
    "join abbreviations by an entry (<i>Leu,Leucocytes</i>).</p>"
    "<p>Without an entry, each spelling gets a row and a graph of its own, after the rows of "
    "the list, in the order the text first shows them; there are 50 rows at most.</p>"
    "<p>The growth curves are drawn for the rows whose title holds the English words "
    "<i>Weight</i>, <i>Height</i> or <i>Cranial perimeter</i>, whatever the language of the "
    "other words: keep these words in such titles (<i>Weight,Poids</i>).</p>";

// The edit keeps what it may hold: the refused characters are dropped as they are typed.
class TitleValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        QString kept;
        int keptPos = pos;
        for (int i = 0; i < input.size(); ++i) {
            if (ExamTitlesEditor::kRefused.find(input[i].unicode()) != std::u16string_view::npos) {
                if (i < pos) --keptPos;
                continue;
            }
            kept += input[i];
        }
        input = kept;
        pos = keptPos;
        return Acceptable;
    }
};

}  // namespace

CExamsGraphDlg::CExamsGraphDlg(std::u16string_view storedTitles, UserMessages& messages,
                               QWidget* parent)
    : QDialog(parent), m_editor(storedTitles, messages) {
    setObjectName(QStringLiteral("examsGraphDialog"));
    setWindowTitle(QStringLiteral("Exams graph"));
    FitHandheldForm(this);
    setFixedHeight(kFormHeight);

    auto* heading = new QLabel(QStringLiteral("----- Parameters of the graph -----"), this);
    heading->setObjectName(QStringLiteral("heading"));
    heading->setAlignment(Qt::AlignCenter);
    heading->setStyleSheet(
        QStringLiteral("QLabel { color: rgb(255,255,135); font-weight: bold; }"));
    const QString staticStyle =
        QStringLiteral("QLabel { background: rgb(255,209,213); padding: 1px 3px; }");
    auto* titleLabel = new QLabel(QStringLiteral("Title of exam :"), this);
    titleLabel->setStyleSheet(staticStyle);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("titleEdit"));
    m_edit->setStyleSheet(QStringLiteral("QLineEdit { background: white; }"));
    m_edit->setValidator(new TitleValidator(m_edit));
    auto* listLabel = new QLabel(QStringLiteral("List of titles :"), this);
    listLabel->setStyleSheet(staticStyle);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("titleList"));

    auto* buttons = new QWidget(this);
    auto* grid = new QGridLayout(buttons);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(3);
    int index = 0;
    auto place = [&](QPushButton* button) {
        grid->addWidget(button, index / 3, index % 3);
        ++index;
    };
    place(AddButton(QStringLiteral("Clear"), "clearButton", &ExamTitlesEditor::Clear));
    place(AddButton(QStringLiteral("Add"), "addButton", &ExamTitlesEditor::Add));
    place(AddButton(QStringLiteral("Rename"), "renameButton", &ExamTitlesEditor::Rename));
    place(AddButton(QStringLiteral("Up"), "upButton", &ExamTitlesEditor::Up));
    place(AddButton(QStringLiteral("Down"), "downButton", &ExamTitlesEditor::Down));
    place(AddButton(QStringLiteral("Delete"), "deleteButton", &ExamTitlesEditor::Delete));
    auto* help = new QPushButton(QStringLiteral("Help"), buttons);
    help->setObjectName(QStringLiteral("helpButton"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), buttons);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    auto* ok = new QPushButton(QStringLiteral("OK"), buttons);
    ok->setObjectName(QStringLiteral("okButton"));
    for (QPushButton* button : {help, cancel, ok}) {
        button->setAutoDefault(false);
        place(button);
    }
    buttons->setStyleSheet(
        QStringLiteral("QPushButton { background: rgb(255,205,238); "
                       "border: 1px solid #806070; padding: 2px; }"
                       "QPushButton:pressed { background: rgb(230,170,210); }"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(3);
    layout->addWidget(heading);
    layout->addWidget(titleLabel, 0, Qt::AlignLeft);
    layout->addWidget(m_edit);
    layout->addWidget(listLabel, 0, Qt::AlignLeft);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);

    m_help = new QTextBrowser(this);
    m_help->setObjectName(QStringLiteral("helpPage"));
    m_help->setHtml(QString::fromUtf8(kHelpPage));
    m_help->setGeometry(0, 0, kFormWidth, kHelpHeight);
    m_help->hide();
    m_closeHelp = new QPushButton(QStringLiteral("Click here to close Help"), this);
    m_closeHelp->setObjectName(QStringLiteral("closeHelpButton"));
    m_closeHelp->setGeometry(0, kHelpHeight, kFormWidth, 24);
    m_closeHelp->hide();

    connect(m_edit, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_editor.SetEditText(ToU16(text)); });
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row == m_editor.Selected()) return;
        m_editor.Select(row);
        m_edit->setText(ToQString(m_editor.EditText()));
    });
    connect(help, &QPushButton::clicked, this, [this] { ShowHelp(true); });
    connect(m_closeHelp, &QPushButton::clicked, this, [this] { ShowHelp(false); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    ShowList();
}

QPushButton* CExamsGraphDlg::AddButton(const QString& text, const char* name,
                                       void (ExamTitlesEditor::*action)()) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, action] {
        (m_editor.*action)();
        ShowList();
    });
    return button;
}

void CExamsGraphDlg::ShowList() {
    QSignalBlocker block(m_list);
    m_list->clear();
    for (const std::u16string& entry : m_editor.Entries()) m_list->addItem(ToQString(entry));
    m_list->setCurrentRow(m_editor.Selected());
    m_edit->setText(ToQString(m_editor.EditText()));
    // After every button the edit has the focus, the caret at its end.
    m_edit->setFocus();
    m_edit->end(false);
}

void CExamsGraphDlg::ShowHelp(bool shown) {
    m_help->setVisible(shown);
    m_closeHelp->setVisible(shown);
    if (shown) {
        m_help->raise();
        m_closeHelp->raise();
    } else {
        m_edit->setFocus();
    }
}

bool CExamsGraphDlg::HelpShown() const {
    return m_help->isVisible();
}

void CExamsGraphDlg::paintEvent(QPaintEvent*) {
    // The dialogue's own background: a dark band under the heading, a soft colour below.
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, QColor(60, 40, 110));
    gradient.setColorAt(1, QColor(150, 110, 170));
    painter.fillRect(rect(), gradient);
}

void CExamsGraphDlg::EditTitles(std::u16string& titles, UserMessages& messages, QWidget* parent) {
    CExamsGraphDlg dialog(titles, messages, parent);
    if (dialog.exec() == QDialog::Accepted) titles = dialog.Editor().StoredTitles();
}

}  // namespace pondrel
