#include "GuiDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QTest>
#include <QTimer>

namespace pondrel::test {

namespace {

bool Usable(const QWidget* widget, const QString& name) {
    if (!widget) return false;
    if (!widget->isVisible() || !widget->isEnabled()) {
        qWarning("%s is hidden or disabled", qPrintable(name));
        return false;
    }
    return true;
}

}  // namespace

QObject* FindNamed(const QObject& root, const QString& name, const QMetaObject& type) {
    for (QObject* child : root.findChildren<QObject*>(name)) {
        if (type.cast(child)) return child;
    }
    qWarning("no %s named %s", type.className(), qPrintable(name));
    return nullptr;
}

bool Click(const QObject& root, const QString& name) {
    auto* button = Child<QAbstractButton>(root, name);
    if (!Usable(button, name)) return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

bool ClickRow(QListWidget& list, int row) {
    QListWidgetItem* item = list.item(row);
    if (!list.isVisible() || !item) {
        qWarning("%s: no row %d to click", qPrintable(list.objectName()), row);
        return false;
    }
    list.scrollToItem(item);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(item).center());
    return true;
}

bool ClickRow(QListWidget& list, const QString& text) {
    const auto items = list.findItems(text, Qt::MatchExactly);
    if (items.size() != 1) {
        qWarning("%s: %lld rows read \"%s\"", qPrintable(list.objectName()),
                 static_cast<long long>(items.size()), qPrintable(text));
        return false;
    }
    return ClickRow(list, list.row(items.front()));
}

bool Type(const QObject& root, const QString& name, const QString& text) {
    auto* field = Child<QWidget>(root, name);
    if (!Usable(field, name)) return false;
    QTest::mouseClick(field, Qt::LeftButton);
    field->setFocus(Qt::OtherFocusReason);
    QTest::keyClicks(field, text);
    return true;
}

bool WithModal(const std::function<void()>& open,
               const std::function<void(QWidget* dialog)>& action) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        action(modal);
        ran = true;
        if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && dialog->isVisible()) {
            dialog->reject();
        }
    });
    open();
    return ran;
}

bool ScreenshotsWanted() {
    const QString asked = qEnvironmentVariable("PONDREL_SCREENSHOTS");
    return !asked.isEmpty() && asked != QStringLiteral("0");
}

void Screenshot(QWidget& widget, const QString& name) {
    if (!ScreenshotsWanted()) return;
    const QDir folder(QStringLiteral(PONDREL_SCREENSHOT_DIR));
    if (!folder.mkpath(QStringLiteral("."))) {
        qWarning("cannot create %s", PONDREL_SCREENSHOT_DIR);
        return;
    }
    widget.grab().save(folder.filePath(name + QStringLiteral(".png")));
    QPixmap zoomed(widget.size() * 2);
    zoomed.setDevicePixelRatio(2);
    zoomed.fill(Qt::white);
    widget.render(&zoomed);
    zoomed.save(folder.filePath(name + QStringLiteral("-x2.png")));
}

}  // namespace pondrel::test
