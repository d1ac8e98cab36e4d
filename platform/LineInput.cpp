#include "platform/LineInput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <string_view>

#include "platform/StandardStreams.h"

bool CLineInput::Read(std::string& line) {
    // A line already whole in the stream's buffer is taken from there, as
    // getc takes a byte: the buffer's read pointer moves past it, first, so
    // that running out of memory for the copy drops the line.
    const std::string_view unread = UnreadInput(stream_);
    if (const size_t end = unread.find('\n'); end != std::string_view::npos) {
        stream_->_IO_read_ptr += end + 1;
        line.assign(unread.data(), end + 1);
        return true;
    }
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
