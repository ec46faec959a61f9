#pragma once

// The look shared by the program's dialogues: they must fit the 240 x 320 handheld form.

class QGroupBox;
class QRadioButton;
class QString;
class QWidget;

namespace pondrel {

inline constexpr int kFormWidth = 240;
inline constexpr int kFormHeight = 320;

// A compact font for the small form; the dialogue takes the form's width and at most its height.
void FitHandheldForm(QWidget* dialog);

// A group of two radio buttons, one under the other, for a 0/1 setting: `zero` has the id 0 and
// `one` the id 1 in the group's button group. The group belongs to `parent`.
QGroupBox* ChoiceGroup(const QString& title, const QString& objectName, QRadioButton* zero,
                       QRadioButton* one, QWidget* parent);

}  // namespace pondrel
