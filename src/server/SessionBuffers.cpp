#include "server/SessionBuffers.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace pondrel::server {

size_t NextReadBytes(size_t current, size_t bytes, size_t pendingChars, bool largeAllowed) {
    if (!largeAllowed) return kIdleReadBytes;
    // A full buffer: more is waiting in the socket.
    if (bytes >= current) return kBusyReadBytes;
    // Every frame complete and the socket drained: back to idle.
    if (pendingChars == 0) return kIdleReadBytes;
    return current;
}

void GiveBackFreeMemory() {
#if defined(__GLIBC__)
    // The C library keeps freed memory for later; elsewhere the allocator gives it back itself.
    malloc_trim(0);
#endif
}

}  // namespace pondrel::server
