#include "platform/LineInput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <string_view>

#include "platform/StandardStreams.h"

// Taken from the buffer as getc takes a byte: the buffer's read pointer moves
// past the line, first, so that running out of memory for the copy drops it.
bool CLineInput::ReadBuffered(std::string& line) {
    const std::string_view unread = UnreadInput(stream_);
    const size_t end = unread.find('\n');
    if (end == std::string_view::npos) return false;
    stream_->_IO_read_ptr += end + 1;
    line.assign(unread.data(), end + 1);
    return true;
}

bool CLineInput::Read(std::string& line) {
    if (ReadBuffered(line)) return true;
    char* raw = buffer_.release();
    errno = 0;
    const ssize_t count = getline(&raw, &capacity_, stream_);
    buffer_.reset(raw);
    if (count < 0) {
        if (errno != ENOMEM) return false;
        // getline keeps its buffer, and what it read of the line is lost.
        SkipRestOfLine();
        throw std::bad_alloc();
    }
    line.assign(raw, static_cast<size_t>(count));
    return true;
}

// Byte by byte: nothing needs memory any more.
void CLineInput::SkipRestOfLine() {
    std::clearerr(stream_);
    int c = 0;
    while ((c = std::getc(stream_)) != EOF && c != '\n') {
    }
}

FileHandle OpenRegularFile(const std::string& path) {
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a
    // writer. Reading a regular file is not affected by it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    FileHandle file(fdopen(fd, "r"));
    if (!file) ::close(fd);
    return file;
}
