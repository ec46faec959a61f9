#pragma once

// Driving windows in Qt tests as a user would: children found by objectName, clicks, typing,
// list rows, modal dialogues, and screenshots written only when asked.

#include <QListWidget>
#include <QObject>
#include <QString>
#include <QWidget>

#include <functional>

namespace pondrel::test {

// The child of `root` named `name`, or null with a warning naming what is missing.
QObject* FindNamed(const QObject& root, const QString& name, const QMetaObject& type);
template <typename T = QWidget>
T* Child(const QObject& root, const QString& name) {
    return static_cast<T*>(FindNamed(root, name, T::staticMetaObject));
}

// Clicks the button named `name` with the left button. False (with a warning) when it is
// missing, hidden or disabled: a user could not click it either.
[[nodiscard]] bool Click(const QObject& root, const QString& name);

// Clicks the row of a shown list, by number or by its exact text. False when there is none.
[[nodiscard]] bool ClickRow(QListWidget& list, int row);
[[nodiscard]] bool ClickRow(QListWidget& list, const QString& text);

// Clicks the field named `name`, gives it the focus and types `text` into it. False when the
// field is missing, hidden or disabled.
[[nodiscard]] bool Type(const QObject& root, const QString& name, const QString& text);

// Runs `action` on the modal dialogue that `open` shows, then closes the dialogue if `action`
// left it open (a failed check never leaves a modal loop running). False when no modal
// dialogue came up.
[[nodiscard]] bool WithModal(const std::function<void()>& open,
                             const std::function<void(QWidget* dialog)>& action);

// True when screenshots were asked for: the environment variable PONDREL_SCREENSHOTS set to
// anything but "" or "0".
bool ScreenshotsWanted();
// When asked for, writes `widget` as "<name>.png" and, drawn at twice the size,
// "<name>-x2.png" into the "screenshots" folder of the build folder. Nothing otherwise.
void Screenshot(QWidget& widget, const QString& name);

}  // namespace pondrel::test
