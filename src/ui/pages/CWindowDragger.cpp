#include "ui/pages/CWindowDragger.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace pondrel {

namespace editor = windows_editor;

namespace {

Rect RectOf(const QWidget* w) {
    const QRect g = w->geometry();
    return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

QRect ToQRect(const Rect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

}  // namespace

void CWindowDragger::SetMode(editor::DragMode mode, Page page) {
    const bool wasOn = m_mode != editor::DragMode::None;
    m_mode = mode;
    m_page = std::move(page);
    m_field = -1;
    const bool on = m_mode != editor::DragMode::None;
    if (on && !wasOn) qApp->installEventFilter(this);
    if (!on && wasOn) qApp->removeEventFilter(this);
}

bool CWindowDragger::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick) {
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !m_page.fieldAt) return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint global = mouse->globalPosition().toPoint();
    if (m_field >= 0) {
        // A drag under way takes every movement until the stylus is lifted.
        if (type == QEvent::MouseMove) {
            Follow(global);
        } else if (type == QEvent::MouseButtonRelease) {
            Follow(global);
            const int field = m_field;
            m_field = -1;
            m_page.store(field, m_now);
        }
        return true;
    }
    const int field = m_page.fieldAt(widget);
    if (field < 0) return false;
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
        if (m_mode == editor::DragMode::Hide) {
            m_page.hide(field);
            return true;
        }
        QWidget* window = m_page.window(field);
        QWidget* caption = m_page.caption(field);
        if (!window || !caption) return true;
        m_field = field;
        m_start = global;
        m_from = {RectOf(window), RectOf(caption)};
        m_now = m_from;
    }
    return true;  // no focus, no selection, no menu while a mode is on
}

void CWindowDragger::Follow(QPoint global) {
    QWidget* window = m_page.window(m_field);
    QWidget* caption = m_page.caption(m_field);
    if (!window || !caption || !window->parentWidget()) return;
    const QSize band = window->parentWidget()->size();
    const Rect bounds{0, 0, band.width(), band.height()};
    const QPoint delta = global - m_start;
    if (m_mode == editor::DragMode::Move) {
        m_now = editor::Moved(m_from, delta.x(), delta.y(), bounds);
    } else {
        m_now = {editor::Sized(m_from.window, delta.x(), delta.y(), bounds), m_from.caption};
    }
    window->setGeometry(ToQRect(m_now.window));
    caption->setGeometry(ToQRect(m_now.caption));
}

}  // namespace pondrel
