#pragma once

// Watches a stream of received characters for frame ends, however the stream is cut: "#F|" may
// arrive as "#" in one receive and "F|" in the next. Also counts the characters received since
// the last frame end, so that a peer that never ends its frame can be stopped.

#include <cstddef>
#include <string_view>

namespace pondrel {

class FrameEndWatch {
public:
    // The number of frame ends that `text` completes.
    size_t Feed(std::u16string_view text);
    // Characters after the last frame end (the frame being received).
    size_t TailLength() const { return m_tail; }
    void Reset() { *this = FrameEndWatch(); }

private:
    int m_matched = 0;  // characters of "#F|" matched at the end of the stream
    size_t m_tail = 0;
};

}  // namespace pondrel
