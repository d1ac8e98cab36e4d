#include "base/Interruption.h"

volatile sig_atomic_t interruption_detail::requested = 0;

void CopyLargeBytes(char* to, const char* from, size_t count) {
    while (count > kInterruptCheckBytes) {
        ThrowIfInterrupted();
        std::memcpy(to, from, kInterruptCheckBytes);
        to += kInterruptCheckBytes;
        from += kInterruptCheckBytes;
        count -= kInterruptCheckBytes;
    }
    std::memcpy(to, from, count);
}

void ClearLargeBytes(char* to, size_t count) {
    while (count > kInterruptCheckBytes) {
        ThrowIfInterrupted();
        std::memset(to, 0, kInterruptCheckBytes);
        to += kInterruptCheckBytes;
        count -= kInterruptCheckBytes;
    }
    std::memset(to, 0, count);
}
