#include "documents/ui/CBigSummaryFormatDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "documents/WardDocuments.h"
#include "documents/ui/CHtmlView.h"
#include "documents/ui/LetterPageStyle.h"
#include "platform/ui/QtText.h"

namespace pondrel {
namespace {

constexpr int kHeight = 284;
constexpr int kTop = 18;
constexpr int kTitleHeight = 18;
constexpr int kDescriptionHeight = 40;
constexpr int kPairHeight = kTitleHeight + kDescriptionHeight + 2;
constexpr int kButtonsTop = kHeight - 20;

constexpr std::u16string_view kHelpPage =
    u"<HTML><BODY><FONT FACE=\"Tahoma\" SIZE=\"2\"><B>Some help for this page</B><BR><BR>"
    u"The big summary of all patients has four paragraphs of your own. Each has a title and a "
    u"description. The description is text with codes that are replaced by the admission data "
    u"of each patient: the same codes as in the other documents, such as the admission letter "
    u"and the out letter (for example \u00A2F61# gives the motive of hospitalisation, "
    u"\u00A2E62d# the current problem or its caption in angle brackets when it is empty).<BR><BR>"
    u"A paragraph whose description gives nothing for a patient is left out of that patient's "
    u"row. The characters { } | \u00A6 \u00A7 \u00AC can not be used here.<BR><BR>"
    u"See the documentation of the documents (ward documents, RTF templates) for every code."
    u"</FONT></BODY></HTML>";

// The text of a box without the refused characters; true when some were removed.
bool Cleaned(QString& text) {
    const std::u16string cleaned = WithoutRefusedFormatCharacters(ToU16(text));
    if (cleaned.size() == static_cast<size_t>(text.size())) return false;
    text = ToQString(cleaned);
    return true;
}

}  // namespace

CBigSummaryFormatDlg::CBigSummaryFormatDlg(Format& format, QWidget* parent)
    : QDialog(parent), m_format(format), m_original(format) {
    setObjectName(QStringLiteral("bigSummaryFormat"));
    setWindowTitle(QStringLiteral("Big summary format"));
    setFixedSize(kLetterPageWidth, kHeight);
    UseLetterFont(this);

    // The heading has the top row to itself; the buttons share the bottom row, which the
    // closing button of the help page covers while the help is shown.
    LetterCaption(this, "bigSummaryFormatHeading", QStringLiteral("Big summary editor"),
                  {2, 0, kLetterPageWidth - 4, 16});
    QPushButton* ok = LetterButton(this, "bigSummaryFormatOk", QStringLiteral("OK"), {0, 0, 0, 16});
    QPushButton* cancel =
        LetterButton(this, "bigSummaryFormatCancel", QStringLiteral("Cancel"), {0, 0, 0, 16});
    QPushButton* help =
        LetterButton(this, "bigSummaryFormatHelp", QStringLiteral("Help"), {0, 0, 0, 16});
    QPushButton* defaults =
        LetterButton(this, "bigSummaryFormatDefault", QStringLiteral("Default"), {0, 0, 0, 16});
    PlaceButtonsFromRight(this, {cancel, ok, help, defaults}, kButtonsTop);

    for (size_t i = 0; i < kBigSummaryParagraphs; ++i) {
        const int y = kTop + static_cast<int>(i) * kPairHeight;
        auto* title = new QLineEdit(this);
        title->setObjectName(QStringLiteral("bigSummaryTitle%1").arg(i + 1));
        title->setGeometry(2, y, kLetterPageWidth - 4, kTitleHeight);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        auto* description = new QPlainTextEdit(this);
        description->setObjectName(QStringLiteral("bigSummaryDescription%1").arg(i + 1));
        description->setGeometry(2, y + kTitleHeight, kLetterPageWidth - 4, kDescriptionHeight);
        m_titles[i] = title;
        m_descriptions[i] = description;
        connect(title, &QLineEdit::textChanged, this, [this, i] { TakeTitle(i); });
        connect(description, &QPlainTextEdit::textChanged, this, [this, i] { TakeDescription(i); });
    }

    m_help = new CHtmlView(this);
    m_help->setObjectName(QStringLiteral("bigSummaryFormatHelpView"));
    m_help->setGeometry(0, kTop, kLetterPageWidth, kHeight - kTop - 20);
    m_help->hide();
    m_closeHelp = new QPushButton(QStringLiteral("Click here to close Help"), this);
    m_closeHelp->setObjectName(QStringLiteral("bigSummaryFormatCloseHelp"));
    m_closeHelp->setGeometry(0, kHeight - 19, kLetterPageWidth, 18);
    m_closeHelp->hide();

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(defaults, &QPushButton::clicked, this, [this] {
        m_format = DefaultBigSummaryFormat();
        Show();
    });
    connect(help, &QPushButton::clicked, this, [this] { ShowHelp(true); });
    connect(m_closeHelp, &QPushButton::clicked, this, [this] { ShowHelp(false); });
    Show();
}

void CBigSummaryFormatDlg::Show() {
    m_showing = true;
    for (size_t i = 0; i < kBigSummaryParagraphs; ++i) {
        m_titles[i]->setText(ToQString(m_format[i].title));
        m_descriptions[i]->setPlainText(ToQString(m_format[i].description));
    }
    m_showing = false;
}

void CBigSummaryFormatDlg::TakeTitle(size_t index) {
    if (m_showing) return;
    QLineEdit* box = m_titles[index];
    QString text = box->text();
    if (Cleaned(text)) {
        // The refused key or pasted character is dropped where it was put.
        const int cursor = box->cursorPosition();
        const int removed = box->text().size() - text.size();
        box->setText(text);
        box->setCursorPosition(std::max(0, cursor - removed));
        return;  // setText came back here with the cleaned text
    }
    m_format[index].title = ToU16(text);
}

void CBigSummaryFormatDlg::TakeDescription(size_t index) {
    if (m_showing) return;
    QPlainTextEdit* box = m_descriptions[index];
    QString text = box->toPlainText();
    if (Cleaned(text)) {
        const int cursor = box->textCursor().position();
        const int removed = box->toPlainText().size() - text.size();
        box->setPlainText(text);
        QTextCursor moved = box->textCursor();
        moved.setPosition(std::max(0, std::min<int>(cursor - removed, text.size())));
        box->setTextCursor(moved);
        return;
    }
    // Line breaks are stored as the program's "\r\n".
    m_format[index].description = ToU16(text.replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
}

void CBigSummaryFormatDlg::ShowHelp(bool shown) {
    if (shown) {
        m_help->Clear();
        m_help->AppendHtml(kHelpPage);
        m_help->EndOfSource();
    }
    m_help->setVisible(shown);
    m_closeHelp->setVisible(shown);
}

void CBigSummaryFormatDlg::reject() {
    m_format = m_original;
    QDialog::reject();
}

}  // namespace pondrel
