#include "documents/ui/RtfTextReader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include <QColor>
#include <QFont>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include "documents/RtfSyntax.h"

namespace pondrel {
namespace {

// Windows-1252 bytes 0x80 to 0x9F; the others read as Latin-1.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

QChar FromCp1252(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return QChar(kCp1252High[byte - 0x80]);
    return QChar(byte);
}

constexpr double kPixelsPerPoint = 96.0 / 72.0;
constexpr double kPixelsPerTwip = 96.0 / 1440.0;
constexpr int kDefaultHalfPoints = 24;

enum class Destination { Text, Skip, FontTable, ColourTable };

struct CharacterState {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    int halfPoints = kDefaultHalfPoints;
    int font = -1;
    int colour = 0;
    int unicodeSkip = 1;  // \uc: fallback characters after \u
};

struct ParagraphState {
    Qt::Alignment alignment = Qt::AlignLeft;
    int left = 0;  // twips
    int right = 0;
    int first = 0;
    int before = 0;
    int after = 0;
};

struct Group {
    CharacterState characters;
    ParagraphState paragraph;
    Destination destination = Destination::Text;
    bool ignorable = false;  // opened by "\*"
};

bool IsSkippedDestination(std::string_view word) {
    static constexpr std::string_view kSkipped[] = {"stylesheet",
                                                    "info",
                                                    "pict",
                                                    "header",
                                                    "headerl",
                                                    "headerr",
                                                    "headerf",
                                                    "footer",
                                                    "footerl",
                                                    "footerr",
                                                    "footerf",
                                                    "listtable",
                                                    "listoverridetable",
                                                    "rsidtbl",
                                                    "generator",
                                                    "xmlnstbl",
                                                    "themedata",
                                                    "colorschememapping",
                                                    "latentstyles",
                                                    "datastore",
                                                    "fldinst",
                                                    "object",
                                                    "shp",
                                                    "shpinst",
                                                    "nonshppict",
                                                    "footnote",
                                                    "annotation",
                                                    "revtbl",
                                                    "filetbl",
                                                    "mmathPr",
                                                    "pgdsctbl",
                                                    "template",
                                                    "userprops",
                                                    "xe",
                                                    "tc",
                                                    "bkmkstart",
                                                    "bkmkend"};
    return std::find(std::begin(kSkipped), std::end(kSkipped), word) != std::end(kSkipped);
}

class Reader {
public:
    Reader(std::string_view bytes, QTextDocument& document, double scale)
        : m_bytes(bytes), m_document(document), m_cursor(&document), m_scale(scale) {
        m_groups.push_back({});
    }

    void Run() {
        // One edit block: the document is laid out once at its end, not after every insertion.
        m_cursor.beginEditBlock();
        size_t i = 0;
        while (i < m_bytes.size()) {
            const char c = m_bytes[i];
            if (c == '{') {
                Flush();
                if (m_groups.size() < RtfTextReader::kMaxDepth) {
                    m_groups.push_back(m_groups.back());
                    m_groups.back().ignorable = false;
                } else {
                    ++m_overflow;
                }
                m_skip = 0;
                ++i;
            } else if (c == '}') {
                Flush();
                if (m_overflow > 0) {
                    --m_overflow;
                } else if (m_groups.size() > 1) {
                    EndGroup();
                }
                m_skip = 0;
                ++i;
            } else if (c == '\\') {
                i = Control(i);
            } else if (c == '\r' || c == '\n') {
                ++i;
            } else {
                Character(FromCp1252(static_cast<unsigned char>(c)));
                ++i;
            }
        }
        Flush();
        // The last paragraph takes the properties its text was written with (the document's
        // group may have closed since).
        m_cursor.setBlockFormat(BlockFormat(m_lastParagraph));
        m_cursor.endEditBlock();
    }

private:
    Group& Current() { return m_groups.back(); }

    void EndGroup() {
        const bool fontEntry = m_groups.back().destination == Destination::FontTable;
        m_groups.pop_back();
        if (fontEntry && !m_fontName.isEmpty()) EndFont();  // an entry without its ";"
    }

    // A control word or symbol at m_bytes[i] == '\'; returns the position after it.
    size_t Control(size_t i) {
        size_t k = i + 1;
        if (k >= m_bytes.size()) return k;
        const char symbol = m_bytes[k];
        if (!IsRtfLetter(symbol)) {
            switch (symbol) {
                case '\'': {
                    const int high = k + 1 < m_bytes.size() ? HexDigitValue(m_bytes[k + 1]) : -1;
                    const int low = k + 2 < m_bytes.size() ? HexDigitValue(m_bytes[k + 2]) : -1;
                    if (high >= 0 && low >= 0) {
                        Character(FromCp1252(static_cast<unsigned char>(high * 16 + low)));
                        return k + 3;
                    }
                    return k + 1;
                }
                case '\\':
                case '{':
                case '}':
                    Character(QChar(symbol));
                    return k + 1;
                case '~':
                    Character(QChar(0x00A0));
                    return k + 1;
                case '_':
                    Character(QChar(0x2011));
                    return k + 1;
                case '*':
                    Current().ignorable = true;
                    return k + 1;
                default:
                    return k + 1;  // "\-", "\ " and others: nothing to show
            }
        }
        size_t end = k;
        while (end < m_bytes.size() && IsRtfLetter(m_bytes[end]) && end - k < 32) ++end;
        const std::string_view word = m_bytes.substr(k, end - k);
        bool hasNumber = false;
        long long number = 0;
        bool negative = false;
        if (end < m_bytes.size() && m_bytes[end] == '-') {
            negative = true;
            ++end;
        }
        while (end < m_bytes.size() && IsRtfDigit(m_bytes[end])) {
            hasNumber = true;
            if (number < 100'000'000) number = number * 10 + (m_bytes[end] - '0');
            ++end;
        }
        if (negative) number = -number;
        if (end < m_bytes.size() && m_bytes[end] == ' ') ++end;
        if (word == "bin" && hasNumber && number > 0) {
            return std::min(m_bytes.size(), end + static_cast<size_t>(number));
        }
        Word(word, hasNumber, static_cast<int>(number));
        return end;
    }

    void Word(std::string_view word, bool hasNumber, int number) {
        Group& group = Current();
        if (word == "u") {
            m_skip = 0;
            Character(QChar(static_cast<char16_t>(number < 0 ? number + 0x10000 : number)));
            m_skip = group.characters.unicodeSkip;
            return;
        }
        m_skip = 0;
        if (group.destination == Destination::Skip) return;
        if (group.ignorable && group.destination == Destination::Text && word != "fldrslt") {
            Flush();
            group.destination = Destination::Skip;
            return;
        }
        if (IsSkippedDestination(word)) {
            Flush();
            group.destination = Destination::Skip;
            return;
        }
        if (word == "fonttbl") {
            group.destination = Destination::FontTable;
            return;
        }
        if (word == "colortbl") {
            group.destination = Destination::ColourTable;
            m_colours.clear();
            m_colour = QColor(Qt::black);
            m_colourSet = false;
            return;
        }
        if (group.destination == Destination::FontTable) {
            if (word == "f" && hasNumber) {
                if (!m_fontName.isEmpty()) EndFont();
                m_fontNumber = number;
            }
            return;
        }
        if (group.destination == Destination::ColourTable) {
            const int value = std::clamp(number, 0, 255);
            if (word == "red") m_colour.setRed(value);
            if (word == "green") m_colour.setGreen(value);
            if (word == "blue") m_colour.setBlue(value);
            m_colourSet = true;
            return;
        }
        CharacterState& chars = group.characters;
        ParagraphState& par = group.paragraph;
        const bool on = !hasNumber || number != 0;
        if (word == "par" || word == "sect" || word == "page" || word == "row") {
            Paragraph();
        } else if (word == "line") {
            Character(QChar::LineSeparator);
        } else if (word == "tab" || word == "cell") {
            Character(QChar('\t'));
        } else if (word == "plain") {
            Flush();
            const int skip = chars.unicodeSkip;
            chars = CharacterState{};
            chars.unicodeSkip = skip;
        } else if (word == "pard") {
            par = ParagraphState{};
        } else if (word == "b") {
            Change(chars.bold, on);
        } else if (word == "i") {
            Change(chars.italic, on);
        } else if (word == "ul" || word == "uld" || word == "uldb" || word == "ulw") {
            Change(chars.underline, on);
        } else if (word == "ulnone") {
            Change(chars.underline, false);
        } else if (word == "strike") {
            Change(chars.strike, on);
        } else if (word == "v") {
            Change(chars.hidden, on);
        } else if (word == "fs" && hasNumber) {
            Flush();
            chars.halfPoints = std::clamp(number, 2, 3276);
        } else if (word == "f" && hasNumber) {
            Flush();
            chars.font = number;
        } else if (word == "cf" && hasNumber) {
            Flush();
            chars.colour = number;
        } else if (word == "uc" && hasNumber) {
            chars.unicodeSkip = std::clamp(number, 0, 10);
        } else if (word == "ql") {
            par.alignment = Qt::AlignLeft;
        } else if (word == "qr") {
            par.alignment = Qt::AlignRight;
        } else if (word == "qc") {
            par.alignment = Qt::AlignHCenter;
        } else if (word == "qj") {
            par.alignment = Qt::AlignJustify;
        } else if (word == "li" && hasNumber) {
            par.left = number;
        } else if (word == "ri" && hasNumber) {
            par.right = number;
        } else if (word == "fi" && hasNumber) {
            par.first = number;
        } else if (word == "sb" && hasNumber) {
            par.before = number;
        } else if (word == "sa" && hasNumber) {
            par.after = number;
        }
    }

    void Change(bool& flag, bool value) {
        if (flag == value) return;
        Flush();
        flag = value;
    }

    void Character(QChar c) {
        Group& group = Current();
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        switch (group.destination) {
            case Destination::Skip:
                return;
            case Destination::FontTable:
                if (c == QChar(';')) {
                    EndFont();
                } else {
                    m_fontName += c;
                }
                return;
            case Destination::ColourTable:
                if (c == QChar(';')) {
                    m_colours.push_back(m_colourSet ? m_colour : QColor());
                    m_colour = QColor(Qt::black);
                    m_colourSet = false;
                }
                return;
            case Destination::Text:
                break;
        }
        if (group.characters.hidden) return;
        m_lastParagraph = group.paragraph;
        if (m_pending.isEmpty()) m_pendingState = group.characters;
        m_pending += c;
    }

    void EndFont() {
        if (m_fontNumber >= 0 && m_fontNumber < 10'000) {
            if (static_cast<size_t>(m_fontNumber) >= m_fonts.size()) {
                m_fonts.resize(static_cast<size_t>(m_fontNumber) + 1);
            }
            m_fonts[static_cast<size_t>(m_fontNumber)] = m_fontName.trimmed();
        }
        m_fontName.clear();
    }

    void Paragraph() {
        if (Current().destination != Destination::Text) return;
        Flush();
        m_cursor.setBlockFormat(BlockFormat(Current().paragraph));
        m_cursor.insertBlock();
        m_lastParagraph = Current().paragraph;
    }

    QTextBlockFormat BlockFormat(const ParagraphState& par) const {
        QTextBlockFormat format;
        format.setAlignment(par.alignment);
        auto pixels = [&](int twips) { return twips * kPixelsPerTwip * m_scale; };
        format.setLeftMargin(pixels(std::max(0, par.left)));
        format.setRightMargin(pixels(std::max(0, par.right)));
        format.setTextIndent(pixels(par.first));
        format.setTopMargin(pixels(std::max(0, par.before)));
        format.setBottomMargin(pixels(std::max(0, par.after)));
        return format;
    }

    void Flush() {
        if (m_pending.isEmpty()) return;
        const CharacterState& chars = m_pendingState;
        QTextCharFormat format;
        QFont font;
        if (chars.font >= 0 && static_cast<size_t>(chars.font) < m_fonts.size() &&
            !m_fonts[static_cast<size_t>(chars.font)].isEmpty()) {
            font.setFamily(m_fonts[static_cast<size_t>(chars.font)]);
        }
        font.setPixelSize(std::max(
            3, static_cast<int>(std::lround(chars.halfPoints / 2.0 * kPixelsPerPoint * m_scale))));
        font.setBold(chars.bold);
        font.setItalic(chars.italic);
        font.setUnderline(chars.underline);
        font.setStrikeOut(chars.strike);
        format.setFont(font);
        if (chars.colour > 0 && static_cast<size_t>(chars.colour) < m_colours.size() &&
            m_colours[static_cast<size_t>(chars.colour)].isValid()) {
            format.setForeground(m_colours[static_cast<size_t>(chars.colour)]);
        }
        m_cursor.insertText(m_pending, format);
        m_pending.clear();
    }

    std::string_view m_bytes;
    QTextDocument& m_document;
    QTextCursor m_cursor;
    double m_scale;
    std::vector<Group> m_groups;
    int m_overflow = 0;  // groups opened past kMaxDepth
    int m_skip = 0;      // fallback characters of \u still to skip
    QString m_pending;
    CharacterState m_pendingState;
    ParagraphState m_lastParagraph;
    std::vector<QString> m_fonts;
    QString m_fontName;
    int m_fontNumber = -1;
    std::vector<QColor> m_colours;
    QColor m_colour = QColor(Qt::black);
    bool m_colourSet = false;
};

}  // namespace

void RtfTextReader::Read(std::string_view bytes, QTextDocument& document, double scale) {
    // A document read for display keeps no undo history: a megabyte's insertions would be kept.
    document.setUndoRedoEnabled(false);
    document.clear();
    if (bytes.empty() || bytes.front() != '{') {
        QString text;
        text.reserve(static_cast<qsizetype>(bytes.size()));
        for (char c : bytes) text += FromCp1252(static_cast<unsigned char>(c));
        QFont font = document.defaultFont();
        font.setPixelSize(std::max(3, static_cast<int>(std::lround(16 * scale))));
        document.setDefaultFont(font);
        document.setPlainText(text);
        return;
    }
    Reader(bytes, document, scale).Run();
}

}  // namespace pondrel
