// Our reading of RTF for the previews: what a letter shows, and bytes that must never make it
// fail.

#include <QFont>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include <string>

#include "documents/ui/RtfTextReader.h"

using namespace pondrel;

class TestRtfTextReader : public QObject {
    Q_OBJECT

private slots:
    void textParagraphsAndEscapes();
    void formattingOfTheRuns();
    void destinationsAreLeftOut();
    void plainTextIsShownAsItIs();
    void hostileBytesNeverFail();

private:
    static QString Read(std::string_view bytes, double scale = 1.0) {
        QTextDocument document;
        RtfTextReader::Read(bytes, document, scale);
        return document.toPlainText();
    }
    // The format of the first character of `text` in the document.
    static QTextCharFormat FormatOf(QTextDocument& document, const QString& text) {
        QTextCursor found = document.find(text);
        if (found.isNull()) return {};
        QTextCursor at(&document);
        at.setPosition(found.selectionStart() + 1);
        return at.charFormat();
    }
};

void TestRtfTextReader::textParagraphsAndEscapes() {
    // Unicode escapes with their fallback, negative numbers, surrogate pairs, Windows-1252
    // bytes, escaped braces and backslashes, lines and tabs.
    QCOMPARE(Read("{\\rtf1 \\u68\\'3f\\u111\\'3fe\\par second\\line line\\tab x}"),
             QStringLiteral("Doe\nsecond\nline\tx"));
    QCOMPARE(Read("{\\rtf1 \\u-255\\'3f \\u-10179\\'3f\\u-8704\\'3f}"),
             QStringLiteral("\uFF01 \U0001F600"));
    // (toPlainText shows the no-break space as a blank.)
    QCOMPARE(Read("{\\rtf1 \\'80 \\'e9 \\{ \\} \\\\ \\~a}"),
             QStringLiteral("\u20AC \u00E9 { } \\  a"));
    // \uc2: two fallback characters to skip.
    QCOMPARE(Read("{\\rtf1\\uc2 \\u20013\\'d6\\'d0!}"), QStringLiteral("\u4E2D!"));
}

void TestRtfTextReader::formattingOfTheRuns() {
    QTextDocument document;
    RtfTextReader::Read(
        "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\froman Times New Roman;}}"
        "{\\colortbl;\\red31\\green56\\blue100;}"
        "\\pard\\qc\\fs24 {\\b bold}{\\i italic}{\\ul under\\ulnone line}{\\f1\\fs48\\cf1 big}"
        "\\par\\pard\\li1440 plain}",
        document, 0.5);
    QVERIFY(FormatOf(document, QStringLiteral("bold")).font().bold());
    QVERIFY(!FormatOf(document, QStringLiteral("italic")).font().bold());
    QVERIFY(FormatOf(document, QStringLiteral("italic")).font().italic());
    QVERIFY(FormatOf(document, QStringLiteral("under")).font().underline());
    QVERIFY(!FormatOf(document, QStringLiteral("line")).font().underline());
    const QTextCharFormat big = FormatOf(document, QStringLiteral("big"));
    QCOMPARE(big.font().family(), QStringLiteral("Times New Roman"));
    QCOMPARE(big.font().pixelSize(), 16);  // 24 points at half size
    QCOMPARE(big.foreground().color(), QColor(31, 56, 100));
    QCOMPARE(FormatOf(document, QStringLiteral("bold")).font().pixelSize(), 8);
    QCOMPARE(document.firstBlock().blockFormat().alignment(), Qt::AlignHCenter);
    QCOMPARE(document.lastBlock().blockFormat().leftMargin(), 48.0);  // an inch at half size
}

void TestRtfTextReader::destinationsAreLeftOut() {
    QCOMPARE(Read("{\\rtf1{\\info{\\title T}}{\\stylesheet{\\s1 heading;}}{\\*\\pondrelpatient 41}"
                  "{\\header head}{\\pict 0a0b}{\\field{\\*\\fldinst PAGE}{\\fldrslt 3}}"
                  "{\\*\\bkmkstart x}text{\\v hidden}\\bin3 {}}end}"),
             QStringLiteral("3textend"));
}

void TestRtfTextReader::plainTextIsShownAsItIs() {
    QCOMPARE(Read("Dear \\par {colleague} \x80"), QStringLiteral("Dear \\par {colleague} \u20AC"));
    QCOMPARE(Read(""), QString());
}

void TestRtfTextReader::hostileBytesNeverFail() {
    // Unbalanced groups, a cut escape, nesting far past the limit, huge numbers.
    QCOMPARE(Read("{\\rtf1 {{{a}}}}}}}b"), QStringLiteral("ab"));
    QCOMPARE(Read("{\\rtf1 {\\b cut"), QStringLiteral("cut"));
    QCOMPARE(Read("{\\rtf1 x\\'4"), QStringLiteral("x4"));
    QCOMPARE(Read("{\\rtf1 x\\"), QStringLiteral("x"));
    const std::string deep =
        "{\\rtf1 " + std::string(100'000, '{') + "deep" + std::string(100'000, '}') + "}";
    QCOMPARE(Read(deep), QStringLiteral("deep"));
    QCOMPARE(Read("{\\rtf1\\fs999999999999 \\li-99999999999 \\u99999999999 a\\bin99999999999 b}"),
             Read("{\\rtf1\\fs999999999999 \\li-99999999999 \\u99999999999 a\\bin99999999999 b}"));
}

QTEST_MAIN(TestRtfTextReader)
#include "TestRtfTextReader.moc"
