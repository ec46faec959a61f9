#pragma once

#include <QObject>
#include <QPointer>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace pondrel {

// Where a dialogue of `size` opens: centred over `over` (the main window), then moved inside
// `screen` (the screen's available area); a dialogue larger than the screen keeps its top-left
// corner on it.
QPoint DialogPosition(QSize size, const QRect& over, const QRect& screen);

// Every dialogue of the program as it opens (installed on the application): it opens centred
// over the main window and inside the screen, and its line and text fields refuse the reserved
// characters, typed or pasted (records/ui/ReservedCharacters.h).
class DialogWatcher final : public QObject {
public:
    // Dialogues open over `mainWindow` (null, or once it is gone: over their parent's window).
    explicit DialogWatcher(QWidget* mainWindow, QObject* parent = nullptr);

    // Installs a watcher on the application for `mainWindow`; it goes with the window.
    static DialogWatcher* Install(QWidget* mainWindow);

    // Places `dialog` and filters its fields now.
    void Prepare(QWidget* dialog) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_mainWindow;
};

}  // namespace pondrel
