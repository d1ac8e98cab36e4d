#pragma once

#include <signal.h>

// True when the file descriptor is connected to a terminal.
bool IsTerminal(int fd);

// The terminal a descriptor is connected to, opened once more for reading
// without waiting: a read answers at once when nothing is there to read,
// where the descriptor itself (shared with the shell, which must not find
// it changed) would wait.
class CNonBlockingTerminal {
public:
    explicit CNonBlockingTerminal(int fd);
    ~CNonBlockingTerminal();
    CNonBlockingTerminal(const CNonBlockingTerminal&) = delete;
    CNonBlockingTerminal& operator=(const CNonBlockingTerminal&) = delete;

    // The descriptor to read; the one given when the terminal could not be
    // opened again.
    int Descriptor() const { return opened_ >= 0 ? opened_ : fd_; }

private:
    int fd_;
    int opened_;
};

// The size of the terminal's window; false when fd has none.
bool WindowSize(int fd, int& rows, int& columns);

// While alive, a change of the window's size (SIGWINCH) is noted until
// TakeResized; outside every catcher it keeps its earlier action.
class CResizeCatcher {
public:
    CResizeCatcher();
    ~CResizeCatcher();
    CResizeCatcher(const CResizeCatcher&) = delete;
    CResizeCatcher& operator=(const CResizeCatcher&) = delete;

private:
    struct sigaction previous_ {};
};

// True (once) when the window's size changed under a catcher.
bool TakeResized();
