#include "platform/Interrupt.h"

namespace {

volatile sig_atomic_t pressed = 0;

void OnInterrupt(int) {
    RequestInterrupt();
    pressed = pressed + 1;
}

}  // namespace

CInterruptCatcher::CInterruptCatcher() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previous_);
}

CInterruptCatcher::~CInterruptCatcher() {
    sigaction(SIGINT, &previous_, nullptr);
}

CInterruptibleWait::CInterruptibleWait() {
    if (sigaction(SIGINT, nullptr, &caught_) != 0 || caught_.sa_handler != OnInterrupt) return;
    struct sigaction action = caught_;
    action.sa_flags &= ~SA_RESTART;
    active_ = sigaction(SIGINT, &action, nullptr) == 0;
}

CInterruptibleWait::~CInterruptibleWait() {
    if (active_) sigaction(SIGINT, &caught_, nullptr);
}


int InterruptCount() {
    return pressed;
}
