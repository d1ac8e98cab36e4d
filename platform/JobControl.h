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
    // How a system call that is waiting takes the signals: restarted, or
    // ended with EINTR so that the waiting code can follow them.
    enum class Wait { Restarts, Ends };

    explicit CStopCatcher(Wait wait = Wait::Restarts);
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

// True when Ctrl-Z or SIGCONT came under a catcher and was not dealt with
// yet (StopUntilContinued, TakeContinued).
bool JobControlPending();

// True (once) when the process was continued after a stop that
// StopUntilContinued did not make.
bool TakeContinued();

// Stops the process as SIGTSTP would have, and returns when it is continued
// (SIGCONT). A process whose shell is gone (an orphaned process group) is not
// stopped, since nobody could continue it: it returns at once.
void StopUntilContinued();

// Returns once the process is in the foreground of the terminal fd: a job
// continued in the background (bg) that needs its terminal waits stopped,
// as the kernel stops one that reads or sets its terminal, until it is
// brought back (fg). Its terminal's modes are then the shell's, no longer
// those of the shell's own prompt. Returns at once without job control (fd
// is not the controlling terminal, SIGTTOU is ignored, or nobody is left to
// continue the process).
void WaitForForeground(int fd);
