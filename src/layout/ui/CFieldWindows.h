#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/Preferences.h"

class QColor;
class QLabel;
class QWidget;

namespace pondrel {

class CSectionEdit;

// The field windows of the form: one edit window and one caption per record field, placed in the
// page bands of the form (pages 0 to 18 by the arrangement, the free-field pages and the
// identity page by their own layouts). Windows lower than 32 pixels are one-line edits (Return
// does not break the line; a stored text is never changed by being shown), higher ones
// multi-line edits with a vertical scroll bar.
//
// Finding a field from outside (the shortcut lists, the clipboard commands): every edit window
// is a CSectionEdit (a QPlainTextEdit) carrying the property "pondrelField" with its field number;
// FieldOf(widget) reads it, Edit(field) gives the window of a field. Its text goes through
// CSectionEdit::Text() / ShowText() with "\r\n" line breaks; a change made by the user (typing,
// pasting, a shortcut inserted through the edit's own cursor) is reported by the edit's
// edited() signal, which this object turns into fieldEdited(field).
//
// Leaving a window: when the focus goes from a window to another widget of the program, the form
// appends the unit of the caption and the growth band (FieldPages, FieldChanges::OnFieldLeft).
// A widget that takes the focus without the user leaving the field (a pop-up list inserting
// into it) carries the property "pondrelKeepsField" set to true, on itself or on an ancestor:
// KeepsField(widget) reads it, and the step waits until the focus really goes elsewhere.
class CFieldWindows final : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kFieldProperty = "pondrelField";
    static constexpr const char* kKeepsFieldProperty = "pondrelKeepsField";

    explicit CFieldWindows(QObject* parent = nullptr);
    ~CFieldWindows() override;

    // Places the window and the caption of `field` in `band` (rectangles in the band's
    // coordinates, already at their least heights), shown or hidden. The window is created the
    // first time; placing it again moves it, possibly into another band.
    void Place(int field, QWidget* band, const Rect& window, const Rect& caption, bool shown);
    // Hides the window and the caption of a field.
    void Hide(int field);
    // The caption text of a field (drawn smaller when it is too wide for its place).
    void SetCaption(int field, std::u16string_view caption);
    // The colour of every caption, those placed later included.
    void SetCaptionColour(const QColor& colour);

    // Shows the stored text of every window: `text(field)`. Not reported as edits.
    void ShowTexts(const std::function<std::u16string_view(int field)>& text);
    void ShowText(int field, std::u16string_view text);
    // The text of a field's window as shown ("" for a field without window).
    std::u16string Text(int field) const;

    // The window of a field, null when the field has none.
    CSectionEdit* Edit(int field) const;
    QLabel* Caption(int field) const;
    // The field number of a window of the form, -1 for any other widget.
    static int FieldOf(const QObject* widget);
    // Whether the focus going to `widget` leaves the field it comes from in place (see above).
    static bool KeepsField(const QWidget* widget);
    bool IsShown(int field) const;

    // Tab and Shift+Tab follow `fields` in this order.
    void SetTabOrder(const std::vector<int>& fields);

signals:
    // The user changed the text of a window.
    void fieldEdited(int field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Window {
        QPointer<CSectionEdit> edit;
        QPointer<QLabel> caption;
        bool oneLine = true;
    };
    Window& Create(int field, QWidget* band);

    std::array<Window, kFieldNumbers> m_windows{};
    QString m_captionStyle;
};

}  // namespace pondrel
