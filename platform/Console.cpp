#include "platform/Console.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Interrupt.h"
#include "platform/JobControl.h"

namespace {

// Switches a terminal to single-key input without echo for its lifetime.
class CRawMode {
public:
    explicit CRawMode(int fd) : fd_(fd) {
        if (tcgetattr(fd_, &saved_) != 0) return;
        termios raw = saved_;
        raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        active_ = tcsetattr(fd_, TCSANOW, &raw) == 0;
    }
    CRawMode(const CRawMode&) = delete;
    CRawMode& operator=(const CRawMode&) = delete;
    ~CRawMode() {
        if (active_) tcsetattr(fd_, TCSANOW, &saved_);
    }
    bool Active() const { return active_; }

private:
    int fd_;
    termios saved_{};
    bool active_ = false;
};

}  // namespace

std::optional<CConsole> CConsole::Open() {
    const int fd = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    return CConsole(fd);
}

CConsole::CConsole(CConsole&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

CConsole::~CConsole() {
    if (fd_ >= 0) close(fd_);
}

std::optional<unsigned char> CConsole::ReadByte() {
    unsigned char byte = 0;
    const CInterruptibleWait wait;
    for (;;) {
        const ssize_t count = read(fd_, &byte, 1);
        if (count == 1) return byte;
        // Ctrl-C at a terminal gives up the wait, and so does Ctrl-Z or a
        // continue that a key's wait follows; any other signal does not.
        if (count < 0 && errno == EINTR && !InterruptRequested() && !JobControlPending()) continue;
        return std::nullopt;
    }
}

// Keys typed ahead while the line editor held the terminal come unedited:
// Enter as a carriage return.
std::optional<std::string> CConsole::ReadLine(size_t limit) {
    std::string line;
    for (;;) {
        errno = 0;
        const std::optional<unsigned char> byte = ReadByte();
        if (!byte) {
            if (errno != 0) return std::nullopt;
            return line;   // end of input ends the line
        }
        if (*byte == '\n' || *byte == '\r') return line;
        if (line.size() < limit) line += static_cast<char>(*byte);
    }
}

// Ctrl-Z while the key is awaited gives the terminal back as it was while
// the program is stopped; once it is in the foreground again, single keys
// are taken anew (the shell may have set the modes its own way), as they are
// after a stop by other means.
std::optional<unsigned char> CConsole::ReadKey() {
    const CStopCatcher stops(CStopCatcher::Wait::Ends);
    for (;;) {
        WaitForForeground(fd_);
        std::optional<unsigned char> key;
        {
            const CRawMode raw(fd_);
            if (!raw.Active()) return std::nullopt;
            key = ReadByte();
        }
        if (StopRequested()) {
            StopUntilContinued();
        } else if (!TakeContinued()) {
            return key;
        }
        if (key) return key;
    }
}

// A long text stops at Ctrl-C: the write returns what the terminal took.
bool CConsole::Write(std::string_view bytes) {
    const CInterruptibleWait wait;
    while (!bytes.empty()) {
        const ssize_t count = write(fd_, bytes.data(), bytes.size());
        if (InterruptRequested()) return false;
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(count));
    }
    return true;
}
