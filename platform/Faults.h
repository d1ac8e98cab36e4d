#pragma once

#include <signal.h>

#include <cstddef>
#include <cstdint>
#include <memory>

// A C-runtime parameter fault: raised where the Windows C runtime would call
// its invalid-parameter hook (a radix outside 2..36, a non-positive buffer
// size). Inside a built-in call it becomes 10.105; anywhere else it ends the
// run with "_invalid_parameter".
class CInvPrmException {
public:
    CInvPrmException() = default;
};

// Writes the report of a fault into buffer, zero-terminated, and returns its
// length: "例外(%08x) %s" with the text of a known code, otherwise
// "例外(%08x) flags(%08x) address(%p)". It neither allocates nor locks, so a
// signal handler may call it.
size_t FormatFaultText(char* buffer, size_t size, uint32_t code, uint32_t flags,
                       const void* address);

// The Windows fault code a signal stands for (for example FPE_INTDIV is
// 0xc0000094); stackOverflow says a SIGSEGV hit the end of the stack.
uint32_t FaultCodeOf(int signal, int signalCode, bool stackOverflow);

// While alive, a processor fault (SIGSEGV, SIGFPE, SIGILL, SIGBUS, SIGTRAP)
// writes its report as one line to stderr and ends the process with status
// -1 (255); SIGABRT ends it as its default action does. Either way the
// terminal gets its modes back first (RestoreTerminalModes). The handlers
// run on their own stack, so a stack overflow is reported too. Output still buffered in stdout when the fault strikes is
// lost: flushing a stdio stream is not safe inside a signal handler.
class CFaultHandlers {
public:
    CFaultHandlers();
    ~CFaultHandlers();
    CFaultHandlers(const CFaultHandlers&) = delete;
    CFaultHandlers& operator=(const CFaultHandlers&) = delete;

private:
    static constexpr int kSignals[] = {SIGSEGV, SIGFPE, SIGILL, SIGBUS, SIGTRAP};
    static constexpr size_t kSignalCount = sizeof kSignals / sizeof kSignals[0];

    std::unique_ptr<char[]> stack_;
    stack_t previousStack_{};
    struct sigaction previous_[kSignalCount]{};
    struct sigaction previousAbort_ {};
};
