#include "app/CHistoryFile.h"

#include <fcntl.h>
#include <readline/history.h>
#include <readline/readline.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "app/CConsoleOutput.h"
#include "platform/UserDirectories.h"

namespace {

std::string AbsolutePath(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    const std::unique_ptr<char, decltype(&std::free)> current(getcwd(nullptr, 0), &std::free);
    return current ? std::string(current.get()) + "/" + path : path;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool IsSymbolicLink(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
}

// The history file, open and locked against the other sessions. A trim
// replaces the file by a rename, so a lock that was taken on a file the
// path no longer names is given up and taken again on the file it names
// now. Anything but a regular file is left alone.
class CLockedFile {
public:
    CLockedFile(const std::string& path, int flags) {
        // Each retry follows a trim that finished meanwhile; a few suffice.
        for (int attempt = 0; attempt < 16; ++attempt) {
            if (OpenAndLock(path, flags)) return;
            if (fd_ < 0) return;
            ::close(fd_);
            fd_ = -1;
        }
        error_ = EAGAIN;
    }
    ~CLockedFile() {
        if (fd_ >= 0) ::close(fd_);   // releases the lock
    }
    CLockedFile(const CLockedFile&) = delete;
    CLockedFile& operator=(const CLockedFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }
    // Why it is not open: an error number; EISDIR for a directory and ENODEV
    // for anything else that is not a regular file.
    int Error() const { return error_; }
    const struct stat& Status() const { return status_; }

private:
    // True when locked on the file the path names; false with fd_ closed
    // (-1) on an error, or open when the path moved on to another file.
    bool OpenAndLock(const std::string& path, int flags) {
        // O_NONBLOCK: a FIFO put in the file's place must not hold the session.
        fd_ = ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0600);
        if (fd_ < 0) {
            error_ = errno;
            return false;
        }
        if (fstat(fd_, &status_) != 0 || !S_ISREG(status_.st_mode)) {
            error_ = S_ISDIR(status_.st_mode) ? EISDIR : ENODEV;
            ::close(fd_);
            fd_ = -1;
            return false;
        }
        while (flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) break;
        }
        struct stat named {};
        return ::stat(path.c_str(), &named) == 0 && SameFile(named, status_);
    }

    int fd_ = -1;
    int error_ = 0;
    struct stat status_ {};
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

bool ReadAll(int fd, std::string& text) {
    char block[65536];
    for (;;) {
        const ssize_t count = ::read(fd, block, sizeof block);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return false;
        if (count == 0) return true;
        text.append(block, static_cast<size_t>(count));
    }
}

// Where the last `lines` lines of text begin (a last line without its line
// feed counts as one); 0 when there are no more than that.
size_t StartOfLastLines(const std::string& text, int lines) {
    size_t end = text.size();
    if (end > 0 && text[end - 1] == '\n') --end;
    for (int seen = 0; end > 0; --end) {
        if (text[end - 1] == '\n' && ++seen == lines) return end;
    }
    return 0;
}

// Writes text over the open file from its start and cuts it there: a file
// reached through a symbolic link stays the one the link names.
int RewriteInPlace(int fd, std::string_view text) {
    if (::lseek(fd, 0, SEEK_SET) != 0 || !WriteAll(fd, text)) return errno;
    if (::ftruncate(fd, static_cast<off_t>(text.size())) != 0 || ::fsync(fd) != 0) return errno;
    return 0;
}

// Writes text to a new file beside path, with the mode and owner of the file
// it replaces, and renames it over path; the old file stays whole until then.
int ReplaceFile(const std::string& path, std::string_view text, const struct stat& old) {
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) return errno;
    int error = 0;
    if (!WriteAll(fd, text) || fchmod(fd, old.st_mode & 07777) != 0 || fsync(fd) != 0) error = errno;
    // Only root can give the file to its old owner; anyone else owns both.
    if (fchown(fd, old.st_uid, old.st_gid) != 0 && error == 0 && errno != EPERM) error = errno;
    ::close(fd);
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) ::unlink(temporary.c_str());
    return error;
}

}  // namespace

CHistoryFile::CHistoryFile(const std::string& path) : path_(AbsolutePath(path)) {
    using_history();
    stifle_history(kMaxLines);
    if (path_.empty() || !CheckKind()) return;
    Trim();
    // A missing file is the first run.
    read_history(path_.c_str());
}

CHistoryFile::~CHistoryFile() {
    if (!path_.empty()) Trim();
    // Readline keeps undo lists in the entries of lines that were edited
    // after they were recalled; clear_history leaves them.
    rl_clear_history();
}

bool CHistoryFile::CheckKind() {
    struct stat status {};
    if (::stat(path_.c_str(), &status) != 0 || S_ISREG(status.st_mode)) return true;
    Warn(S_ISDIR(status.st_mode) ? EISDIR : ENODEV);
    path_.clear();
    return false;
}

void CHistoryFile::Add(const std::string& line) {
    add_history(line.c_str());
    if (path_.empty()) return;
    if (!parentsMade_) {
        if (!MakeParentDirectories(path_)) return Warn(errno);
        parentsMade_ = true;
    }
    // A link is written through; one that names nothing creates nothing,
    // and a link put in the file's place meanwhile is not followed.
    const int create = IsSymbolicLink(path_) ? 0 : O_CREAT | O_NOFOLLOW;
    const CLockedFile file(path_, O_WRONLY | O_APPEND | create);
    if (!file.IsOpen()) return Warn(file.Error());
    if (!WriteAll(file.Descriptor(), line + "\n")) Warn(errno);
}

// A file reached through a symbolic link is trimmed in place: replacing it
// would put a file of ours where the link was.
void CHistoryFile::Trim() {
    const bool linked = IsSymbolicLink(path_);
    const CLockedFile file(path_, linked ? O_RDWR : O_RDONLY);
    if (!file.IsOpen()) {
        if (file.Error() != ENOENT) Warn(file.Error());
        return;
    }
    std::string text;
    if (!ReadAll(file.Descriptor(), text)) return Warn(errno);
    const size_t start = StartOfLastLines(text, kMaxLines);
    if (start == 0) return;
    const std::string_view kept = std::string_view(text).substr(start);
    const int error = linked ? RewriteInPlace(file.Descriptor(), kept) : ReplaceFile(path_, kept, file.Status());
    if (error != 0) Warn(error);
}

void CHistoryFile::Warn(int error) {
    Warn(error == ENODEV ? "not a regular file" : std::strerror(error));
}

// One warning a session: a history that cannot be kept is no reason to
// repeat it at every line.
void CHistoryFile::Warn(const std::string& reason) {
    if (warned_) return;
    warned_ = true;
    WriteErrorLine("numora: cannot keep the history in " + path_ + ": " + reason);
}

std::string HistoryPath() {
    if (const char* chosen = std::getenv("NUMORA_HISTORY")) return chosen;
    const std::string state = StateHome();
    return state.empty() ? "" : state + "/numora/history";
}
