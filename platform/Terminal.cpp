#include "platform/Terminal.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

bool IsTerminal(int fd) {
    return isatty(fd) == 1;
}

CNonBlockingTerminal::CNonBlockingTerminal(int fd) : fd_(fd), opened_(-1) {
    const char* name = ttyname(fd);
    if (name != nullptr) opened_ = open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

CNonBlockingTerminal::~CNonBlockingTerminal() {
    if (opened_ >= 0) close(opened_);
}

bool WindowSize(int fd, int& rows, int& columns) {
    winsize size{};
    if (ioctl(fd, TIOCGWINSZ, &size) != 0) return false;
    rows = size.ws_row;
    columns = size.ws_col;
    return true;
}

namespace {

volatile sig_atomic_t resized = 0;

void OnResize(int) {
    resized = 1;
}

}  // namespace

CResizeCatcher::CResizeCatcher() {
    struct sigaction action {};
    action.sa_handler = OnResize;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(SIGWINCH, &action, &previous_);
}

CResizeCatcher::~CResizeCatcher() {
    sigaction(SIGWINCH, &previous_, nullptr);
}

bool TakeResized() {
    const bool seen = resized != 0;
    resized = 0;
    return seen;
}
