#pragma once

// The look of the two connection dialogues: a painted background with the heading in light
// yellow, captions on pink (the wireless dialogue) or straight on the background (the advanced
// one), edits on white and pink buttons.

class QCheckBox;
class QColor;
class QLabel;
class QPainter;
class QPushButton;
class QString;
class QWidget;

namespace pondrel::connection_style {

// The heading, bold light yellow on the background.
QLabel* Heading(const QString& text, QWidget* parent);
// A caption on pink, or transparent over the background.
QLabel* Caption(const QString& text, const QString& objectName, bool onPink, QWidget* parent);
QPushButton* Button(const QString& text, const QString& objectName, QWidget* parent);
// Paints the background picture over the whole widget.
void PaintBackground(QPainter& painter, const QWidget& widget);
// The style sheet of the edits and groups of both dialogues.
QString FieldStyle();
// A check box drawn light on the dark background.
void LightCheckBox(QCheckBox* box);
// The dialogue takes the height its layout needs at its width (wrapped captions included).
void FitHeight(QWidget& dialog);

}  // namespace pondrel::connection_style
