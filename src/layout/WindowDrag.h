#pragma once

// What dragging the stylus does to a field window in the windows editor's modes "M" (move, the
// caption goes along) and "S" (size from the lower right corner). Rectangles are left, top,
// right, bottom in one coordinate space (a page band, or the form) and `bounds` is the page: a
// window never leaves it. A one-line window stays one-line (17 to 31 pixels high) and a
// multi-line window multi-line (32 pixels or more), so sizing never turns one into the other.

#include "settings/Preferences.h"

namespace pondrel::windows_editor {

enum class DragMode { None, Move, Size, Hide };

// The narrowest a window is sized to.
inline constexpr int kMinWindowWidth = 12;

struct WindowAndCaption {
    Rect window;
    Rect caption;
};

// The window and its caption moved by (dx, dy), the move cut so that both stay inside `bounds`.
WindowAndCaption Moved(const WindowAndCaption& start, int dx, int dy, const Rect& bounds);
// The window with its lower right corner moved by (dx, dy), inside `bounds`, no smaller than
// kMinWindowWidth and the minimum height of its kind; the caption stays.
Rect Sized(const Rect& window, int dx, int dy, const Rect& bounds);

}  // namespace pondrel::windows_editor
