#include "platform/JobControl.h"

#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace {

volatile sig_atomic_t stopRequested = 0;
volatile sig_atomic_t continued = 0;

void OnStop(int) {
    stopRequested = 1;
}

void OnContinue(int) {
    continued = 1;
}

bool Catch(int signal, void (*handler)(int), int flags, struct sigaction& previous) {
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_flags = flags;
    sigemptyset(&action.sa_mask);
    return sigaction(signal, &action, &previous) == 0;
}

}  // namespace

CStopCatcher::CStopCatcher(Wait wait) {
    const int flags = wait == Wait::Restarts ? SA_RESTART : 0;
    const bool ignored = sigaction(SIGTSTP, nullptr, &previousStop_) == 0 && previousStop_.sa_handler == SIG_IGN;
    if (!ignored) stopInstalled_ = Catch(SIGTSTP, OnStop, flags, previousStop_);
    continueInstalled_ = Catch(SIGCONT, OnContinue, flags, previousContinue_);
}

CStopCatcher::~CStopCatcher() {
    if (continueInstalled_) sigaction(SIGCONT, &previousContinue_, nullptr);
    if (stopInstalled_) sigaction(SIGTSTP, &previousStop_, nullptr);
}

bool StopRequested() {
    return stopRequested != 0;
}

bool JobControlPending() {
    return stopRequested != 0 || continued != 0;
}

bool TakeContinued() {
    const bool seen = continued != 0;
    continued = 0;
    return seen;
}

void StopUntilContinued() {
    stopRequested = 0;
    struct sigaction stop {};
    stop.sa_handler = SIG_DFL;
    sigemptyset(&stop.sa_mask);
    struct sigaction caught {};
    sigaction(SIGTSTP, &stop, &caught);
    sigset_t unblocked;
    sigemptyset(&unblocked);
    sigaddset(&unblocked, SIGTSTP);
    sigaddset(&unblocked, SIGCONT);
    sigset_t previousMask;
    sigprocmask(SIG_UNBLOCK, &unblocked, &previousMask);
    // Delivered before raise returns: the process stops here until SIGCONT,
    // whose handler runs before raise returns too.
    raise(SIGTSTP);
    sigprocmask(SIG_SETMASK, &previousMask, nullptr);
    sigaction(SIGTSTP, &caught, nullptr);
    continued = 0;
}

// tcdrain is subject to job control as a change of the terminal is: in the
// background the kernel stops the process group with SIGTTOU and restarts
// the call once it is continued, and answers EIO where nobody could continue
// it. In the foreground it only waits for the output to be written.
void WaitForForeground(int fd) {
    for (;;) {
        // -1: not the controlling terminal, where there is no foreground.
        const pid_t foreground = tcgetpgrp(fd);
        if (foreground == -1 || foreground == getpgrp()) return;
        const int drained = tcdrain(fd);
        // Let through in the background: SIGTTOU ignored or blocked.
        if (drained == 0 && tcgetpgrp(fd) != getpgrp()) return;
        // EIO: nobody is left to continue the process. EINTR: a caught
        // signal ended the wait, which goes on.
        if (drained != 0 && errno != EINTR) return;
    }
}
