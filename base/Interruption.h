#pragma once

#include <signal.h>

#include <cstddef>
#include <cstring>

// Ctrl-C's request to stop the work in progress. The signal handler of the
// platform (platform/Interrupt) sets it; long work checks it at bounded
// intervals and, once it is set, throws CInterruption, which abandons the
// line as a cancelled line: a built-in call fails with its diagnostic, a
// line outside a call shows nothing more, and variables keep the values
// they had. Nothing sets it outside a terminal session, so piped and
// script runs never see it.
class CInterruption {};

namespace interruption_detail {
extern volatile sig_atomic_t requested;
}

// Async-signal-safe.
inline void RequestInterrupt() { interruption_detail::requested = 1; }
inline bool InterruptRequested() { return interruption_detail::requested != 0; }
inline void ClearInterrupt() { interruption_detail::requested = 0; }

inline void ThrowIfInterrupted() {
    if (InterruptRequested()) [[unlikely]] throw CInterruption();
}

// How much bulk work (bytes copied, cleared or written) goes between two
// checks: a few milliseconds of it in the slowest build.
constexpr size_t kInterruptCheckBytes = 1024 * 1024;

void CopyLargeBytes(char* to, const char* from, size_t count);
void ClearLargeBytes(char* to, size_t count);

// memcpy and memset for blocks of any size; a large block goes a piece at a
// time, with a check before each piece. Small ones, nearly all, cost what
// memcpy and memset cost.
inline void CopyBytes(char* to, const char* from, size_t count) {
    if (count > kInterruptCheckBytes) [[unlikely]] return CopyLargeBytes(to, from, count);
    std::memcpy(to, from, count);
}
inline void ClearBytes(char* to, size_t count) {
    if (count > kInterruptCheckBytes) [[unlikely]] return ClearLargeBytes(to, count);
    std::memset(to, 0, count);
}
