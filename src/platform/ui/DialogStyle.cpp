#include "platform/ui/DialogStyle.h"

#include <QButtonGroup>
#include <QFont>
#include <QGroupBox>
#include <QRadioButton>
#include <QString>
#include <QVBoxLayout>
#include <QWidget>

namespace pondrel {

void FitHandheldForm(QWidget* dialog) {
    QFont font = dialog->font();
    font.setPixelSize(12);
    dialog->setFont(font);
    dialog->setFixedWidth(kFormWidth);
    dialog->setMaximumHeight(kFormHeight);
}

QGroupBox* ChoiceGroup(const QString& title, const QString& objectName, QRadioButton* zero,
                       QRadioButton* one, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(objectName);
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(2);
    layout->addWidget(zero);
    layout->addWidget(one);
    auto* buttons = new QButtonGroup(group);
    buttons->addButton(zero, 0);
    buttons->addButton(one, 1);
    return group;
}

}  // namespace pondrel
