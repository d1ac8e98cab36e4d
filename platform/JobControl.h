#pragma once

#include <signal.h>

// Ctrl-Z while a line is typed. While a catcher is alive, SIGTSTP only notes
// the request, so that the code waiting for a key can give the terminal its
// modes back before the process stops and set them again once it goes on;
// outside every catcher SIGTSTP keeps its earlier action.
class CStopCatcher {
public:
    CStopCatcher();
    ~CStopCatcher();
    CStopCatcher(const CStopCatcher&) = delete;
    CStopCatcher& operator=(const CStopCatcher&) = delete;

private:
    struct sigaction previous_ {};
};

// True once Ctrl-Z was pressed under a catcher, until StopUntilContinued.
bool StopRequested();

// Stops the process as SIGTSTP would have, and returns when it is continued
// (SIGCONT). A process whose shell is gone (an orphaned process group) is not
// stopped, since nobody could continue it: it returns at once.
void StopUntilContinued();
