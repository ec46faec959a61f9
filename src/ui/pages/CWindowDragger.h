#pragma once

#include <functional>

#include <QObject>
#include <QPoint>

#include "layout/WindowDrag.h"

class QWidget;

namespace pondrel {

// The stylus in the windows editor's modes "M", "S" and "H", on the form pages and on the
// free-field pages: while a mode is on, presses on the field windows and captions of the page
// being edited go to the mode instead of the windows, so no window takes the focus or selects
// text. "M" drags a window by its caption (or its body) with the caption along, "S" sizes it by
// dragging, "H" hides it with a tap. The windows follow the stylus; the page's layout takes the
// result when the stylus is lifted.
class CWindowDragger final : public QObject {
public:
    struct Page {
        // The field whose window or caption `widget` is (or lies in) on this page; -1 otherwise.
        std::function<int(const QWidget* widget)> fieldAt;
        std::function<QWidget*(int field)> window;
        std::function<QWidget*(int field)> caption;
        // Stores the new rectangles (in the band) of `field` and places the page again.
        std::function<void(int field, const windows_editor::WindowAndCaption& placed)> store;
        std::function<void(int field)> hide;
    };

    explicit CWindowDragger(QObject* parent) : QObject(parent) {}
    ~CWindowDragger() override { SetMode(windows_editor::DragMode::None, {}); }
    CWindowDragger(const CWindowDragger&) = delete;
    CWindowDragger& operator=(const CWindowDragger&) = delete;

    // Turns a mode on for `page` (None turns the modes off).
    void SetMode(windows_editor::DragMode mode, Page page);
    windows_editor::DragMode Mode() const { return m_mode; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Follow(QPoint global);

    windows_editor::DragMode m_mode = windows_editor::DragMode::None;
    Page m_page;
    int m_field = -1;  // the window being dragged
    QPoint m_start;
    windows_editor::WindowAndCaption m_from{};
    windows_editor::WindowAndCaption m_now{};
};

}  // namespace pondrel
