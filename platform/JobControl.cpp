#include "platform/JobControl.h"

namespace {

volatile sig_atomic_t requested = 0;

void OnStop(int) {
    requested = 1;
}

}  // namespace

CStopCatcher::CStopCatcher() {
    struct sigaction action {};
    action.sa_handler = OnStop;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTSTP, &action, &previous_);
}

CStopCatcher::~CStopCatcher() {
    sigaction(SIGTSTP, &previous_, nullptr);
}

bool StopRequested() {
    return requested != 0;
}

void StopUntilContinued() {
    requested = 0;
    struct sigaction stop {};
    stop.sa_handler = SIG_DFL;
    sigemptyset(&stop.sa_mask);
    struct sigaction caught {};
    sigaction(SIGTSTP, &stop, &caught);
    sigset_t unblocked;
    sigemptyset(&unblocked);
    sigaddset(&unblocked, SIGTSTP);
    sigset_t previousMask;
    sigprocmask(SIG_UNBLOCK, &unblocked, &previousMask);
    // Delivered before raise returns: the process stops here until SIGCONT.
    raise(SIGTSTP);
    sigprocmask(SIG_SETMASK, &previousMask, nullptr);
    sigaction(SIGTSTP, &caught, nullptr);
}
