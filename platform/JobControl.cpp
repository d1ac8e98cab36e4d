#include "platform/JobControl.h"

namespace {

volatile sig_atomic_t stopRequested = 0;
volatile sig_atomic_t continued = 0;

void OnStop(int) {
    stopRequested = 1;
}

void OnContinue(int) {
    continued = 1;
}

bool Catch(int signal, void (*handler)(int), struct sigaction& previous) {
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    return sigaction(signal, &action, &previous) == 0;
}

}  // namespace

CStopCatcher::CStopCatcher() {
    const bool ignored = sigaction(SIGTSTP, nullptr, &previousStop_) == 0 && previousStop_.sa_handler == SIG_IGN;
    if (!ignored) stopInstalled_ = Catch(SIGTSTP, OnStop, previousStop_);
    continueInstalled_ = Catch(SIGCONT, OnContinue, previousContinue_);
}

CStopCatcher::~CStopCatcher() {
    if (continueInstalled_) sigaction(SIGCONT, &previousContinue_, nullptr);
    if (stopInstalled_) sigaction(SIGTSTP, &previousStop_, nullptr);
}

bool StopRequested() {
    return stopRequested != 0;
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
