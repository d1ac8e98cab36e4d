#pragma once

#include <signal.h>

// Ctrl-Z and SIGCONT while a line is typed. While a catcher is alive,
// SIGTSTP only notes the request, so that the code waiting for a key can
// give the terminal its modes back before the process stops and set them
// again once it goes on; SIGCONT after any stop (SIGSTOP too, while the
// shell may have set the terminal's modes its own way) is noted as well.
// Outside every catcher both keep their earlier actions, and a SIGTSTP
// ignored at start-up (no job control) stays ignored.
class CStopCatcher {
public:
    CStopCatcher();
    ~CStopCatcher();
    CStopCatcher(const CStopCatcher&) = delete;
    CStopCatcher& operator=(const CStopCatcher&) = delete;

private:
    struct sigaction previousStop_ {};
    struct sigaction previousContinue_ {};
    bool stopInstalled_ = false;
    bool continueInstalled_ = false;
};

// True once Ctrl-Z was pressed under a catcher, until StopUntilContinued.
bool StopRequested();

// True (once) when the process was continued after a stop that
// StopUntilContinued did not make.
bool TakeContinued();

// Stops the process as SIGTSTP would have, and returns when it is continued
// (SIGCONT). A process whose shell is gone (an orphaned process group) is not
// stopped, since nobody could continue it: it returns at once.
void StopUntilContinued();
