#pragma once

#include <signal.h>

#include "base/Interruption.h"

// Ctrl-C as a request rather than the end of the run. While a catcher is
// alive, SIGINT only notes the request; work in progress checks for it where
// it can stop cleanly. Interrupted system calls are restarted, so output
// under way is not lost; a wait for input gives up only inside an
// CInterruptibleWait. Outside every catcher SIGINT keeps its earlier action.
class CInterruptCatcher {
public:
    CInterruptCatcher();
    ~CInterruptCatcher();
    CInterruptCatcher(const CInterruptCatcher&) = delete;
    CInterruptCatcher& operator=(const CInterruptCatcher&) = delete;

private:
    struct sigaction previous_ {};
};

// While alive, Ctrl-C under a catcher also ends a read that is waiting for
// input: it fails with EINTR, and InterruptRequested tells why. Without a
// catcher it changes nothing.
class CInterruptibleWait {
public:
    CInterruptibleWait();
    ~CInterruptibleWait();
    CInterruptibleWait(const CInterruptibleWait&) = delete;
    CInterruptibleWait& operator=(const CInterruptibleWait&) = delete;

private:
    struct sigaction caught_ {};
    bool active_ = false;
};

// InterruptRequested (base/Interruption.h) is true once Ctrl-C was pressed
// under a catcher, until ClearInterrupt.
// How often Ctrl-C was pressed under a catcher; ClearInterrupt leaves it
// as it is, so work that outlasts several lines can tell whether one came.
int InterruptCount();
