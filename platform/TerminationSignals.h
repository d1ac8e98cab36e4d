#pragma once

#include <signal.h>

#include <cstddef>

// While alive, SIGTERM, SIGHUP and SIGQUIT end the run with status 128 + the
// signal number without losing the results already computed or leaving the
// terminal's modes changed. A signal that finds the program waiting for a
// line of input, or with nothing left unwritten, ends it at once: stdout's
// buffer is written out and the terminal's modes of start-up are restored
// from the handler. A signal that finds a line at work is kept for the
// prompt loop, which ends the run before the next line (see
// PendingTerminationSignal): stdout cannot be flushed safely while the line
// may be writing to it.
//
// SIGXFSZ no longer ends the process: a write past the file size limit
// (ulimit -f) fails with EFBIG instead, and whoever wrote decides.
//
// A signal that was ignored at start-up (as nohup does with SIGHUP) stays
// ignored. Handlers, unlike ignored signals, are not inherited by the
// commands that the system built-in runs.
class CTerminationSignals {
public:
    CTerminationSignals();
    ~CTerminationSignals();
    CTerminationSignals(const CTerminationSignals&) = delete;
    CTerminationSignals& operator=(const CTerminationSignals&) = delete;

private:
    static constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGQUIT, SIGXFSZ};
    static constexpr size_t kSignalCount = sizeof kSignals / sizeof kSignals[0];

    struct sigaction previous_[kSignalCount]{};
    bool installed_[kSignalCount]{};
};

// Marks the time the main thread waits for a line of input, when it does
// not touch stdout, so that a termination signal may write out stdout's
// buffer itself.
class CInputWait {
public:
    CInputWait();
    ~CInputWait();
    CInputWait(const CInputWait&) = delete;
    CInputWait& operator=(const CInputWait&) = delete;
};

// Gives the terminal back as it was at start-up: its modes, and bracketed
// paste switched off where line editing may have switched it on. Only
// async-signal-safe calls: the fault handlers call it too. Without a
// CTerminationSignals made first it does nothing.
void RestoreTerminalModes();

// The termination signal that arrived while a line was at work; 0 if none.
int PendingTerminationSignal();

// Ends the process as SIGPIPE would, also when SIGPIPE is ignored or blocked:
// for a write to a pipe that nobody reads any more.
[[noreturn]] void EndAsBrokenPipe();
