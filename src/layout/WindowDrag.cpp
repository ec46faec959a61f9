#include "layout/WindowDrag.h"

#include <algorithm>

#include "layout/Arrangement.h"

namespace pondrel::windows_editor {

namespace {

// The largest step in [-room before, room after] that keeps [low, high] inside [min, max].
int Cut(int step, int low, int high, int min, int max) {
    return std::clamp(step, std::min(0, min - low), std::max(0, max - high));
}

}  // namespace

WindowAndCaption Moved(const WindowAndCaption& start, int dx, int dy, const Rect& bounds) {
    const int left = std::min(start.window.left, start.caption.left);
    const int right = std::max(start.window.right, start.caption.right);
    const int top = std::min(start.window.top, start.caption.top);
    const int bottom = std::max(start.window.bottom, start.caption.bottom);
    dx = Cut(dx, left, right, bounds.left, bounds.right);
    dy = Cut(dy, top, bottom, bounds.top, bounds.bottom);
    auto shift = [&](const Rect& r) {
        return Rect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    };
    return {shift(start.window), shift(start.caption)};
}

Rect Sized(const Rect& window, int dx, int dy, const Rect& bounds) {
    const int height = window.bottom - window.top;
    const bool multiLine = height >= kMultiLineHeight;
    const int minHeight = multiLine ? kMultiLineHeight : kMinWindowHeight;
    const int maxHeight = multiLine ? bounds.bottom - window.top : kMultiLineHeight - 1;
    Rect r = window;
    r.right = std::clamp(window.right + dx, window.left + kMinWindowWidth,
                         std::max(window.left + kMinWindowWidth, bounds.right));
    r.bottom = window.top + std::clamp(height + dy, minHeight, std::max(minHeight, maxHeight));
    r.bottom = std::min(r.bottom, std::max(bounds.bottom, window.top + minHeight));
    return r;
}

}  // namespace pondrel::windows_editor
