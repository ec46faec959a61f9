#pragma once

// Shared look of the settings dialogues: they must fit the 240 x 320 handheld form.

#include <QFont>
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

}  // namespace pondrel::settings_ui
