#pragma once

// Cuts received text into frames. A frame is everything up to the next "#F|"; the start of a
// frame whose end has not arrived yet waits here (the carry-over) for the next text, however the
// text was cut into receives. A frame that grows beyond the limit can never be legal: the
// splitter then refuses everything and its owner ends the connection.

#include <optional>
#include <string>
#include <string_view>

#include "sync/WireFormat.h"

namespace pondrel {

class FrameSplitter {
public:
    explicit FrameSplitter(size_t maxFrameChars = kMaxFrameChars) : m_max(maxFrameChars) {}

    // Adds received characters. False once a frame is longer than the limit.
    bool Append(std::u16string_view text);
    // The next complete frame, without its end; none when no complete frame is waiting or the
    // limit was passed.
    std::optional<std::u16string> Next();

    bool Overflowed() const { return m_overflowed; }
    // Characters received and not yet returned as frames.
    size_t PendingChars() const { return m_text.size() - m_start; }
    // The limit for the frames still to come (e.g. larger once a peer logged in).
    void SetLimit(size_t maxFrameChars) { m_max = maxFrameChars; }
    void Clear();
    // Gives back the room beyond `keptChars` once no more than that is pending (after a large
    // frame), so that a quiet connection holds little.
    void ReleaseRoom(size_t keptChars);

private:
    std::u16string m_text;
    size_t m_start = 0;      // first character not yet returned
    size_t m_tailStart = 0;  // first character after the last frame end seen
    size_t m_max;
    bool m_overflowed = false;
};

}  // namespace pondrel
