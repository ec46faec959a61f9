#pragma once

// How the buffers of a connection follow its use. Most connections are idle most of the time, so
// they keep small buffers; a read that fills its buffer (a large frame on its way) makes it
// large, and once every frame received is complete the large buffers are given back.

#include <cstddef>
#include <string>

namespace pondrel::server {

// Bytes of one read: before the log-in and while idle, and while a large frame arrives.
inline constexpr size_t kIdleReadBytes = 4096;
inline constexpr size_t kBusyReadBytes = 64 * 1024;
// A buffer (texts, bytes to send) keeps at most this many bytes of room once it is done with.
inline constexpr size_t kKeptBufferBytes = 8 * 1024;

// The size of the next read, after a read of `bytes` into a buffer of `current` bytes;
// `pendingChars` characters of an unfinished frame wait for the rest. `largeAllowed` is false
// before the log-in (frames are small then).
size_t NextReadBytes(size_t current, size_t bytes, size_t pendingChars, bool largeAllowed);

// Gives back the room of `text` beyond what it holds when that room is more than `keptBytes`.
template <typename Text>
void ReleaseRoom(Text& text, size_t keptBytes = kKeptBufferBytes) {
    using Unit = typename Text::value_type;
    if (text.capacity() * sizeof(Unit) <= keptBytes) return;
    Text smaller(text.begin(), text.end());
    text.swap(smaller);
}

// Hands the memory freed since the last call back to the system (what 1000 connections needed for
// a burst of uploads would otherwise stay with the process); cheap enough to run every few
// seconds.
void GiveBackFreeMemory();

}  // namespace pondrel::server
