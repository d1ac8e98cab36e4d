#include "platform/StandardStreams.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/Interruption.h"

namespace {

int outputError = 0;

bool IsOpen(int fd) {
    return fcntl(fd, F_GETFD) != -1 || errno != EBADF;
}

bool HasBufferedLine(FILE* input) {
    return UnreadInput(input).find('\n') != std::string_view::npos;
}

}  // namespace

// glibc's FILE keeps the unread bytes of its buffer between these two
// pointers.
std::string_view UnreadInput(FILE* input) {
    const char* begin = input->_IO_read_ptr;
    const char* end = input->_IO_read_end;
    if (begin == nullptr || begin >= end) return {};
    return {begin, static_cast<size_t>(end - begin)};
}

void OccupyStandardDescriptors() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (IsOpen(fd)) continue;
        // The lowest free descriptor is taken, and the ones below are open.
        const int opened = ::open("/dev/null", O_RDONLY);
        if (opened >= 0 && opened != fd) ::close(opened);
    }
}

void UseLargeInputBuffer() {
    constexpr size_t kSize = 64 * 1024;
    // glibc takes the size only together with a buffer of the caller's.
    static char buffer[kSize];
    if (isatty(STDIN_FILENO) != 1) std::setvbuf(stdin, buffer, _IOFBF, kSize);
}

bool InputWouldWait(FILE* input) {
    if (HasBufferedLine(input)) return false;
    pollfd ready{fileno(input), POLLIN, 0};
    return poll(&ready, 1, 0) <= 0;
}

// glibc's FILE keeps the free room of its buffer between these two pointers;
// a stream that writes through keeps them equal.
bool WriteIntoBuffer(FILE* stream, std::string_view text) {
    char* const at = stream->_IO_write_ptr;
    if (at == nullptr || static_cast<size_t>(stream->_IO_write_end - at) < text.size()) return false;
    std::memcpy(at, text.data(), text.size());
    stream->_IO_write_ptr = at + text.size();
    return true;
}

size_t WriteInterruptibly(FILE* stream, std::string_view text) {
    size_t written = 0;
    while (text.size() - written > kInterruptCheckBytes) {
        if (written > 0) ThrowIfInterrupted();
        const size_t piece = fwrite_unlocked(text.data() + written, 1, kInterruptCheckBytes, stream);
        written += piece;
        if (piece < kInterruptCheckBytes) return written;
    }
    if (written > 0) ThrowIfInterrupted();
    return written + fwrite_unlocked(text.data() + written, 1, text.size() - written, stream);
}

bool CheckStandardOutput() {
    if (outputError == 0 && ferror_unlocked(stdout) != 0) outputError = errno != 0 ? errno : EIO;
    return outputError == 0;
}

bool FlushStandardOutput() {
    std::fflush(stdout);
    return CheckStandardOutput();
}

int StandardOutputError() { return outputError; }
