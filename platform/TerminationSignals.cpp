#include "platform/TerminationSignals.h"

#include <stdio_ext.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

volatile sig_atomic_t pendingSignal = 0;
volatile sig_atomic_t waitingForInput = 0;

// The terminal as it was at start-up; line editing changes its modes while
// a line is typed.
termios startModes{};
bool haveStartModes = false;
// Readline switches bracketed paste on while it reads a line.
bool editingTerminal = false;
constexpr char kBracketedPasteOff[] = "\x1b[?2004l";

void WriteAll(int fd, const char* bytes, size_t count) {
    while (count > 0) {
        const ssize_t written = ::write(fd, bytes, count);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        bytes += written;
        count -= static_cast<size_t>(written);
    }
}

bool SameModes(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
           a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

void OnTermination(int signal) {
    const size_t unwritten = __fpending(stdout);
    if (!waitingForInput && unwritten > 0) {
        pendingSignal = signal;
        return;
    }
    // glibc's FILE keeps the bytes not yet written from _IO_write_base on.
    WriteAll(STDOUT_FILENO, stdout->_IO_write_base, unwritten);
    RestoreTerminalModes();
    _exit(128 + signal);
}

void OnFileSizeLimit(int) {}

}  // namespace

// Setting the modes from a background process would stop it (SIGTTOU)
// instead of letting it end, so they are set only when they were changed,
// which line editing does only in the foreground.
void RestoreTerminalModes() {
    termios now{};
    if (haveStartModes && tcgetattr(STDIN_FILENO, &now) == 0 && !SameModes(now, startModes)) {
        tcsetattr(STDIN_FILENO, TCSANOW, &startModes);
    }
    if (editingTerminal) WriteAll(STDOUT_FILENO, kBracketedPasteOff, sizeof kBracketedPasteOff - 1);
}

CTerminationSignals::CTerminationSignals() {
    haveStartModes = tcgetattr(STDIN_FILENO, &startModes) == 0;
    editingTerminal = haveStartModes && isatty(STDOUT_FILENO) == 1;
    struct sigaction action {};
    sigemptyset(&action.sa_mask);
    for (const int signal : kSignals) sigaddset(&action.sa_mask, signal);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < kSignalCount; ++i) {
        sigaction(kSignals[i], nullptr, &previous_[i]);
        if (previous_[i].sa_handler == SIG_IGN) continue;
        action.sa_handler = kSignals[i] == SIGXFSZ ? OnFileSizeLimit : OnTermination;
        installed_[i] = sigaction(kSignals[i], &action, nullptr) == 0;
    }
}

CTerminationSignals::~CTerminationSignals() {
    for (size_t i = 0; i < kSignalCount; ++i) {
        if (installed_[i]) sigaction(kSignals[i], &previous_[i], nullptr);
    }
}

CInputWait::CInputWait() { waitingForInput = 1; }

CInputWait::~CInputWait() { waitingForInput = 0; }

int PendingTerminationSignal() { return pendingSignal; }

void EndAsBrokenPipe() {
    signal(SIGPIPE, SIG_DFL);
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    sigprocmask(SIG_UNBLOCK, &pipe, nullptr);
    raise(SIGPIPE);
    _exit(128 + SIGPIPE);
}
