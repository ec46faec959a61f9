#include "layout/ui/CFieldWindows.h"

#include <QColor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>

#include <algorithm>

#include "journal/ui/CSectionEdit.h"
#include "layout/Arrangement.h"
#include "platform/ui/QtText.h"

namespace pondrel {

namespace {

constexpr int kEditFontPixels = 11;
constexpr int kSmallestEditPixels = 8;
constexpr int kCaptionFontPixels = 10;
constexpr int kSmallestCaptionPixels = 7;

bool IsField(int field) {
    return field > 0 && field < kFieldNumbers;
}

QRect ToQRect(const Rect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// The caption's font: 10 pixels, smaller (down to 7) when the text does not fit its place. A
// place high enough for two lines takes the text on two lines first, at the top of the place
// beside the first line of its window.
void FitCaption(QLabel& label) {
    QFont font = label.font();
    const QString text = label.text();
    const auto fits = [&](const QFontMetrics& metrics, bool wrap) {
        if (!wrap) return metrics.horizontalAdvance(text) <= label.width();
        const QRect needed =
            metrics.boundingRect(QRect(0, 0, label.width(), 1000), Qt::TextWordWrap, text);
        return needed.width() <= label.width() && needed.height() <= label.height();
    };
    font.setPixelSize(kCaptionFontPixels);
    const bool twoLines = label.height() >= 2 * QFontMetrics(font).lineSpacing();
    int pixels = kCaptionFontPixels;
    for (; pixels > kSmallestCaptionPixels; --pixels) {
        font.setPixelSize(pixels);
        if (fits(QFontMetrics(font), twoLines)) break;
    }
    font.setPixelSize(pixels);
    label.setFont(font);
    label.setWordWrap(twoLines);
    label.setAlignment(Qt::AlignLeft | (twoLines ? Qt::AlignTop : Qt::AlignVCenter));
}

// The widest line of a window's text in a font.
int TextWidth(const QPlainTextEdit& edit, const QFont& font) {
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString& line : edit.toPlainText().split(QChar(u'\n'))) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return widest;
}

// A one-line window shows its whole text: in a smaller font (down to 8 pixels) when the text is
// too wide for the window at 11, and with the whole text as its tool tip whenever it is (too
// wide at 8 as well, it scrolls with the caret). A multi-line window wraps its text and keeps
// its font.
void FitOneLine(QPlainTextEdit& edit, bool oneLine) {
    QFont font = edit.font();
    int pixels = kEditFontPixels;
    bool cut = false;
    if (oneLine) {
        // The caret stands after the last character, and the document has its margins.
        const int room = edit.contentsRect().width() -
                         2 * static_cast<int>(edit.document()->documentMargin()) -
                         edit.cursorWidth() - 1;
        font.setPixelSize(kEditFontPixels);
        cut = TextWidth(edit, font) > room;
        for (; cut && pixels > kSmallestEditPixels; --pixels) {
            font.setPixelSize(pixels);
            if (TextWidth(edit, font) <= room) break;
        }
    }
    font.setPixelSize(pixels);
    if (edit.font().pixelSize() != pixels) edit.setFont(font);
    const QString tip = cut ? edit.toPlainText() : QString();
    if (edit.toolTip() != tip) edit.setToolTip(tip);
}

}  // namespace

// Until the colour settings are applied, the captions are dark blue.
CFieldWindows::CFieldWindows(QObject* parent)
    : QObject(parent), m_captionStyle(QStringLiteral("QLabel { color: #203a6a; }")) {}

CFieldWindows::~CFieldWindows() = default;

CFieldWindows::Window& CFieldWindows::Create(int field, QWidget* band) {
    Window& w = m_windows[static_cast<size_t>(field)];
    if (!w.edit) {
        auto* edit = new CSectionEdit(band);
        edit->setObjectName(QStringLiteral("field%1").arg(field));
        edit->setProperty(kFieldProperty, field);
        QFont font = edit->font();
        font.setPixelSize(kEditFontPixels);
        edit->setFont(font);
        edit->document()->setDocumentMargin(1);
        edit->setFrameShape(QFrame::Box);
        edit->setLineWidth(1);
        edit->setStyleSheet(QStringLiteral("CSectionEdit { border: 1px solid #8a9bb8; }"));
        edit->installEventFilter(this);
        connect(edit, &CSectionEdit::edited, this, [this, field] { emit fieldEdited(field); });
        connect(edit, &QPlainTextEdit::textChanged, this, [this, field] {
            const Window& shown = m_windows[static_cast<size_t>(field)];
            if (shown.edit) FitOneLine(*shown.edit, shown.oneLine);
        });
        w.edit = edit;

        auto* caption = new QLabel(band);
        caption->setObjectName(QStringLiteral("caption%1").arg(field));
        caption->setStyleSheet(m_captionStyle);
        w.caption = caption;
    }
    if (w.edit->parentWidget() != band) {
        w.edit->setParent(band);
        w.caption->setParent(band);
    }
    return w;
}

void CFieldWindows::Place(int field, QWidget* band, const Rect& window, const Rect& caption,
                          bool shown) {
    if (!IsField(field) || !band) return;
    Window& w = Create(field, band);
    const QRect windowRect = ToQRect(window);
    if (w.edit->geometry() != windowRect) w.edit->setGeometry(windowRect);
    const QRect captionRect = ToQRect(caption);
    if (w.caption->geometry() != captionRect) {
        w.caption->setGeometry(captionRect);
        FitCaption(*w.caption);
    }
    w.oneLine = windowRect.height() < kMultiLineHeight;
    w.edit->setLineWrapMode(w.oneLine ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    w.edit->setVerticalScrollBarPolicy(w.oneLine ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    w.edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FitOneLine(*w.edit, w.oneLine);
    w.edit->setVisible(shown);
    w.caption->setVisible(shown);
}

void CFieldWindows::Hide(int field) {
    if (!IsField(field)) return;
    Window& w = m_windows[static_cast<size_t>(field)];
    if (w.edit) w.edit->hide();
    if (w.caption) w.caption->hide();
}

void CFieldWindows::SetCaption(int field, std::u16string_view caption) {
    if (!IsField(field)) return;
    Window& w = m_windows[static_cast<size_t>(field)];
    if (!w.caption) return;
    const QString text = ToQString(caption);
    if (w.caption->text() == text) return;
    w.caption->setText(text);
    w.caption->setToolTip(text);
    FitCaption(*w.caption);
}

void CFieldWindows::SetCaptionColour(const QColor& colour) {
    const QString style = QStringLiteral("QLabel { color: %1; }").arg(colour.name());
    if (style == m_captionStyle) return;
    m_captionStyle = style;
    for (Window& w : m_windows) {
        if (w.caption) w.caption->setStyleSheet(m_captionStyle);
    }
}

void CFieldWindows::ShowTexts(const std::function<std::u16string_view(int field)>& text) {
    for (int field = 1; field < kFieldNumbers; ++field) {
        if (m_windows[static_cast<size_t>(field)].edit) ShowText(field, text(field));
    }
}

void CFieldWindows::ShowText(int field, std::u16string_view text) {
    if (CSectionEdit* edit = Edit(field)) edit->ShowText(text);
}

std::u16string CFieldWindows::Text(int field) const {
    CSectionEdit* edit = Edit(field);
    return edit ? edit->Text() : std::u16string();
}

CSectionEdit* CFieldWindows::Edit(int field) const {
    return IsField(field) ? m_windows[static_cast<size_t>(field)].edit.data() : nullptr;
}

QLabel* CFieldWindows::Caption(int field) const {
    return IsField(field) ? m_windows[static_cast<size_t>(field)].caption.data() : nullptr;
}

int CFieldWindows::FieldOf(const QObject* widget) {
    if (!widget) return -1;
    const QVariant field = widget->property(kFieldProperty);
    return field.isValid() ? field.toInt() : -1;
}

bool CFieldWindows::KeepsField(const QWidget* widget) {
    for (; widget; widget = widget->parentWidget()) {
        if (widget->property(kKeepsFieldProperty).toBool()) return true;
    }
    return false;
}

bool CFieldWindows::IsShown(int field) const {
    CSectionEdit* edit = Edit(field);
    return edit && !edit->isHidden();
}

void CFieldWindows::SetTabOrder(const std::vector<int>& fields) {
    QWidget* previous = nullptr;
    for (int field : fields) {
        CSectionEdit* edit = Edit(field);
        if (!edit) continue;
        if (previous) QWidget::setTabOrder(previous, edit);
        previous = edit;
    }
}

bool CFieldWindows::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int field = FieldOf(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (IsField(field) && m_windows[static_cast<size_t>(field)].oneLine &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            return true;  // a one-line window keeps one line
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace pondrel
