#pragma once

// Shared look of the settings dialogues: they must fit the 240 x 320 handheld form.

#include <QButtonGroup>
#include <QFont>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QString>
#include <QWidget>

#include <string_view>

namespace pondrel::settings_ui {

inline constexpr int kFormWidth = 240;
inline constexpr int kFormHeight = 320;

// A compact font for the small form; the dialogue takes the form's width and at most its height.
inline void FitHandheldForm(QWidget* dialog) {
    QFont font = dialog->font();
    font.setPixelSize(12);
    dialog->setFont(font);
    dialog->setFixedWidth(kFormWidth);
    dialog->setMaximumHeight(kFormHeight);
}

inline QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// A group of two radio buttons, one under the other, for a 0/1 setting: `zero` has the id 0 and
// `one` the id 1 in the group's button group.
inline QGroupBox* ChoiceGroup(const QString& title, const QString& objectName, QRadioButton* zero,
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

}  // namespace pondrel::settings_ui
