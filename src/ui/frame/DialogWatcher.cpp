#include "ui/frame/DialogWatcher.h"

#include <algorithm>

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFileDialog>
#include <QScreen>
#include <QWidget>

#include "records/ui/ReservedCharacters.h"

namespace pondrel {

QPoint DialogPosition(QSize size, const QRect& over, const QRect& screen) {
    QPoint position(over.x() + (over.width() - size.width()) / 2,
                    over.y() + (over.height() - size.height()) / 2);
    if (screen.isEmpty()) return position;
    // Inside the screen: the right and bottom edges first, so that a dialogue larger than the
    // screen keeps its top-left corner (and its caption) on it.
    position.setX(std::min(position.x(), screen.right() + 1 - size.width()));
    position.setY(std::min(position.y(), screen.bottom() + 1 - size.height()));
    position.setX(std::max(position.x(), screen.left()));
    position.setY(std::max(position.y(), screen.top()));
    return position;
}

DialogWatcher::DialogWatcher(QWidget* mainWindow, QObject* parent)
    : QObject(parent), m_mainWindow(mainWindow) {}

DialogWatcher* DialogWatcher::Install(QWidget* mainWindow) {
    auto* watcher = new DialogWatcher(mainWindow, mainWindow);
    qApp->installEventFilter(watcher);
    return watcher;
}

void DialogWatcher::Prepare(QWidget* dialog) const {
    if (!dialog) return;
    RefuseReservedCharacters(dialog);
    QWidget* over = m_mainWindow ? m_mainWindow->window() : nullptr;
    if ((!over || over == dialog) && dialog->parentWidget()) {
        over = dialog->parentWidget()->window();
    }
    if (!over || over == dialog) return;
    QScreen* screen = over->screen() ? over->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    const QRect frame = over->frameGeometry();
    dialog->move(DialogPosition(dialog->frameGeometry().size(), frame, area));
}

bool DialogWatcher::eventFilter(QObject* watched, QEvent* event) {
    // Before the dialogue is on screen: it never shows at another place first.
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* dialog = qobject_cast<QDialog*>(watched);
        // The platform's file dialogues keep their own place and file names.
        if (dialog && dialog->isWindow() && !qobject_cast<QFileDialog*>(dialog)) Prepare(dialog);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace pondrel
