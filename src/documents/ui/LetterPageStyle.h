#pragma once

// What the letter pages and the print preview share: their size, the height of a row of
// buttons, and the small font of the handheld form.

#include <initializer_list>

#include <QRect>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace pondrel {

inline constexpr int kLetterPageWidth = 240;
inline constexpr int kLetterPageHeight = 290;
inline constexpr int kLetterRowHeight = 18;

// A button of a letter page, named for the tests, that keeps the focus where it was.
QPushButton* LetterButton(QWidget* parent, const char* name, const QString& text, QRect geometry);
// Buttons of a row placed from the right edge of `parent` leftwards, each as wide as its text
// needs; returns the x where the leftmost one starts.
int PlaceButtonsFromRight(QWidget* parent, std::initializer_list<QPushButton*> rightToLeft, int y);
// The bold caption at the left of a row; a text too long for it is shown elided (the whole text
// as its tool tip).
QLabel* LetterCaption(QWidget* parent, const char* name, const QString& text, QRect geometry);
void SetCaptionText(QLabel* caption, const QString& text);
// The form's small font on `widget` and its children.
void UseLetterFont(QWidget* widget);

}  // namespace pondrel
