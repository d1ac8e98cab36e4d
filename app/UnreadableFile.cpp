#include "app/UnreadableFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "app/CConsoleOutput.h"

namespace {

// Why path cannot be read as a regular file; empty when it does not exist.
std::string Reason(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return errno == ENOENT ? "" : std::strerror(errno);
    if (S_ISDIR(status.st_mode)) return std::strerror(EISDIR);
    if (!S_ISREG(status.st_mode)) return "not a regular file";
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return std::strerror(errno);
    ::close(fd);
    return "";
}

}  // namespace

void ReportUnreadableFile(const std::string& path) {
    if (const std::string reason = Reason(path); !reason.empty()) {
        WriteErrorLine("numora: cannot read the include file " + path + ": " + reason);
    }
}
