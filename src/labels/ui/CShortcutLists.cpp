#include "labels/ui/CShortcutLists.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

#include <algorithm>

#include "labels/ShortcutPlacement.h"
#include "labels/ui/FieldWidgetText.h"
#include "platform/ui/CPopupList.h"
#include "platform/ui/QtText.h"
#include "records/ReservedCharacters.h"

namespace pondrel {

namespace {

constexpr int kNoListField = 200;  // the chart number: written by the program only

// The problem panel's fields leave a row more above them for the list.
bool IsProblemField(int field) {
    return field == 86 || (field >= 88 && field <= 93);
}

bool HasReserved(const QString& text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return IsReservedCharacter(c.unicode()); });
}

}  // namespace

CShortcutLists::CShortcutLists(const Labels& labels, QWidget* page)
    : QObject(page), m_shortcuts(labels), m_page(page), m_list(new CPopupList(page)) {
    m_list->setObjectName("shortcutList");
    m_list->setFocusPolicy(Qt::NoFocus);  // the field keeps the focus: typing goes on
    QFont font = m_list->font();
    font.setPixelSize(11);
    m_list->setFont(font);
    connect(m_list.data(), &CPopupList::chosen, this, [this](int row) {
        Choose(row);
        // A tap leaves no current row behind: Return in the field is the field's again.
        if (m_list && m_list->isVisible()) m_list->setCurrentRow(-1);
    });
}

// The list may have been moved to the page of another field.
CShortcutLists::~CShortcutLists() {
    delete m_list.data();
}

bool CShortcutLists::IsOneLine(const QWidget* edit) const {
    return qobject_cast<const QLineEdit*>(edit) || (m_oneLine && m_oneLine(edit));
}

void CShortcutLists::Attach(QWidget* edit, int field) {
    // The form's commands that act on the focused field (the label editor) read its number here.
    if (edit) edit->setProperty(kFieldProperty, field);
    if (!edit || field == kNoListField || !FieldWidgetText::Supports(edit)) return;
    if (auto known = m_fields.find(edit); known != m_fields.end()) {
        known->second = field;  // attached already
        return;
    }
    m_fields[edit] = field;
    m_watched[edit] = edit;
    edit->installEventFilter(this);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(edit)) {
        // A multi-line field gets its mouse events on its viewport.
        m_watched[area->viewport()] = edit;
        area->viewport()->installEventFilter(this);
    }
    connect(edit, &QObject::destroyed, this, [this, edit] {
        if (m_edit == edit) {
            m_edit = nullptr;
            if (m_list) m_list->hide();
        }
        m_fields.erase(edit);
        std::erase_if(m_watched, [edit](const auto& entry) { return entry.second == edit; });
    });
}

QWidget* CShortcutLists::EditOf(QObject* watched) const {
    auto it = m_watched.find(watched);
    return it == m_watched.end() ? nullptr : it->second;
}

ShortcutSources CShortcutLists::Sources() const {
    ShortcutSources sources = m_sources ? m_sources() : ShortcutSources{};
    if (!m_storeQuickNotes) sources.quickNotes.clear();  // a move could not be stored
    return sources;
}

bool CShortcutLists::IsOpen() const {
    return m_list && m_list->isVisible();
}

void CShortcutLists::Close() {
    if (m_list) m_list->hide();
    m_shortcuts.Close();
    m_edit = nullptr;
}

void CShortcutLists::Toggle(QWidget* edit) {
    auto it = m_fields.find(edit);
    if (it == m_fields.end()) return;
    if (IsOpen() && m_edit == edit) {
        Close();
        return;
    }
    if (m_opening) m_opening();
    m_edit = edit;
    m_shortcuts.Build(it->second, Sources());
    Show();
    edit->setFocus();
}

void CShortcutLists::Show() {
    if (!m_list) return;
    const auto& rows = m_shortcuts.Rows();
    std::vector<std::u16string> shown;
    int longest = 0;
    for (const auto& row : rows) {
        // The "|" of the quick-note rows only marks them; the list shows the text.
        std::u16string text = row;
        std::erase(text, u'|');
        longest = std::max(longest, static_cast<int>(text.size()));
        shown.push_back(std::move(text));
    }
    m_list->SetRows(shown);

    QWidget* page = m_pageOf ? m_pageOf(m_edit) : m_page;
    if (!page) page = m_page;
    if (m_list->parentWidget() != page) m_list->setParent(page);
    QFontMetrics metrics(m_list->font());
    ShortcutListArea area;
    QPoint topLeft = m_edit->mapTo(page, QPoint(0, 0));
    area.fieldLeft = topLeft.x();
    area.fieldTop = topLeft.y();
    area.fieldRight = topLeft.x() + m_edit->width();
    area.fieldBottom = topLeft.y() + m_edit->height();
    area.bottom = page->height();
    area.screenWidth = page->width();
    area.gapAbove = IsProblemField(m_shortcuts.Field()) ? 11 : 0;
    area.rowHeight = metrics.height() + 2;
    // Wide enough for the widest row as drawn, not only for a row of average characters: a
    // row of capitals or wide letters is not cut.
    int widest = 0;
    for (const auto& text : shown) {
        widest = std::max(widest, metrics.horizontalAdvance(ToQString(text)));
    }
    area.charWidth =
        std::max<double>(metrics.averageCharWidth(), longest > 0 ? (widest + 4.0) / longest : 0.0);
    ShortcutListPlacement place = PlaceShortcutList(area, static_cast<int>(rows.size()), longest);
    const int frame = 2 * m_list->frameWidth();
    if (place.columns > 1 && !place.scrollBar) {
        // Columns narrower than their rows take what the screen's width still offers.
        const int wanted = std::min(widest + 6, (area.screenWidth - frame) / place.columns);
        if (wanted > place.columnWidth) {
            place.columnWidth = wanted;
            place.width = wanted * place.columns;
            place.x = std::clamp(area.fieldRight - place.width, 0, area.screenWidth - place.width);
        }
    }

    m_list->setFlow(QListView::TopToBottom);
    m_list->setWrapping(place.columns > 1);
    m_list->setGridSize(place.columns > 1 ? QSize(place.columnWidth, area.rowHeight) : QSize());
    m_list->setHorizontalScrollBarPolicy(
        place.scrollBar || place.columns > 1 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    // The frame widens the list to the left: its right edge stays the field's.
    m_list->setGeometry(std::max(0, place.x - frame), place.y, place.width + frame,
                        place.height + frame);
    m_list->setCurrentRow(-1);
    m_list->show();
    m_list->raise();
}

void CShortcutLists::Choose(int row) {
    if (!m_edit || row < 0) return;
    QWidget* edit = m_edit;
    FieldState before = FieldWidgetText::State(edit);
    ShortcutList::Outcome outcome = m_shortcuts.Choose(static_cast<size_t>(row), before, Sources());
    if (outcome.quickNotes && m_storeQuickNotes) m_storeQuickNotes(*outcome.quickNotes);
    const bool oneLine = IsOneLine(edit);
    const int field = m_shortcuts.Field();
    if (outcome.field) {
        FieldWidgetText::Apply(edit, before,
                               oneLine ? KeptOnOneLine(before, *outcome.field) : *outcome.field);
        if (m_inserted) m_inserted(edit, field);
    }
    switch (outcome.command) {
        case ShortcutList::Command::Close:
            Close();
            break;
        case ShortcutList::Command::None:
            break;
        default:
            FieldWidgetText::Run(edit, outcome.command, oneLine);
            break;
    }
    if (outcome.field || outcome.command != ShortcutList::Command::None) {
        emit fieldChanged(edit, field);
    }
    if (outcome.rebuilt && m_edit) Show();
    edit->setFocus();
}

bool CShortcutLists::KeyPressed(QWidget* edit, int field, QKeyEvent* key) {
    const bool listOpen = IsOpen() && m_edit == edit;
    if (listOpen) {
        switch (key->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                if (m_list->currentRow() < 0 && m_list->count() > 0) {
                    m_list->setCurrentRow(0);
                } else {
                    QApplication::sendEvent(m_list, key);
                }
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                if (m_list->currentRow() >= 0) {
                    Choose(m_list->currentRow());
                    return true;
                }
                break;
            case Qt::Key_Escape:
                Close();
                return true;
            default:
                break;
        }
    }
    if (key->key() == Qt::Key_F4 ||
        (key->key() == Qt::Key_Space && (key->modifiers() & Qt::ControlModifier))) {
        Toggle(edit);
        return true;
    }
    const QString text = key->text();
    if (HasReserved(text)) return true;  // refused: it never reaches the field
    if (text.size() == 1) {
        FieldState state = FieldWidgetText::State(edit);
        std::optional<char16_t> typed = TypedCharacter(text[0].unicode(), state);
        if (typed && *typed != text[0].unicode()) {
            QKeyEvent capital(key->type(), key->key(), key->modifiers() | Qt::ShiftModifier,
                              QString(QChar(*typed)), key->isAutoRepeat(), key->count());
            QApplication::sendEvent(edit, &capital);
            return true;
        }
    }
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter && !IsOneLine(edit)) {
        FieldState state = FieldWidgetText::State(edit);
        if (IsBulletedField(field, state.text)) {
            FieldWidgetText::Apply(edit, state, BulletReturn(state));
            return true;
        }
    }
    return false;
}

bool CShortcutLists::eventFilter(QObject* watched, QEvent* event) {
    QWidget* edit = EditOf(watched);
    if (!edit) return false;
    switch (event->type()) {
        case QEvent::MouseButtonDblClick:
            if (m_swallowDoubleClick == edit && m_sinceDoubleClick.isValid() &&
                m_sinceDoubleClick.elapsed() <= 2 * QApplication::doubleClickInterval()) {
                // The second half of a quick double tap after a triple click: the list stays
                // closed.
                m_swallowDoubleClick = nullptr;
                return true;
            }
            m_swallowDoubleClick = nullptr;
            Toggle(edit);
            m_doubleClicked = IsOneLine(edit) ? edit : nullptr;
            m_sinceDoubleClick.start();
            return true;
        case QEvent::MouseButtonPress:
            // A triple click on a one-line field selects its whole text, as in any text box:
            // the list the double click opened closes, and what is typed next replaces the
            // text instead of landing inside it.
            if (m_doubleClicked == edit && m_sinceDoubleClick.isValid() &&
                m_sinceDoubleClick.elapsed() <= QApplication::doubleClickInterval()) {
                m_doubleClicked = nullptr;
                m_swallowDoubleClick = edit;
                if (IsOpen() && m_edit == edit) Close();
                edit->setFocus(Qt::MouseFocusReason);
                QMetaObject::invokeMethod(edit, "selectAll");
                return true;
            }
            m_doubleClicked = nullptr;
            return false;
        case QEvent::KeyPress:
            if (watched != edit) return false;
            return KeyPressed(edit, m_fields[edit], static_cast<QKeyEvent*>(event));
        case QEvent::FocusOut:
            if (watched == edit && m_edit == edit) {
                // The list closes when the field loses the focus to another control (the list
                // and the buttons that take no focus leave it in the field).
                QTimer::singleShot(0, this, [this, edit] {
                    if (m_edit == edit && QApplication::focusWidget() != edit) Close();
                });
            }
            return false;
        default:
            return false;
    }
}

}  // namespace pondrel
