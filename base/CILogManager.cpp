#include "base/CILogManager.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>


namespace {

// Messages and records are formed in buffers of this size; longer texts are cut.
constexpr size_t kBufferSize = 512;
using Buffer = std::array<char, kBufferSize>;

// ORDER: indexed by CILogManager::Level.
constexpr std::array<const char*, 6> kLevelNames = {"NONE", "DEBUG", "INFO", "WARN", "ERROR", "FATAL"};

constexpr std::string_view kExtension = ".log";

int LevelOfName(const char* name) {
    if (name == nullptr) return INT_MAX;
    for (int level = CILogManager::DEBUG; level <= CILogManager::FATAL; ++level) {
        if (std::strcmp(name, kLevelNames[level]) == 0) return level;
    }
    // Unknown names, "NONE" among them, switch logging off.
    return INT_MAX;
}

// A cut inside a multi-byte character would leave invalid UTF-8 in the file,
// so a truncated text loses the incomplete character as well.
size_t Utf8Boundary(const char* text, size_t length) {
    size_t lead = length;
    while (lead > 0 && length - lead < 4 && (static_cast<unsigned char>(text[lead - 1]) & 0xC0) == 0x80) {
        --lead;
    }
    if (lead == 0) return length;
    const auto first = static_cast<unsigned char>(text[lead - 1]);
    const size_t needed = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
    return length - (lead - 1) < needed ? lead - 1 : length;
}

// vsnprintf into at most `size` bytes (terminator included); answers the
// length of the text kept.
__attribute__((format(printf, 3, 0)))
size_t FormatBounded(char* buffer, size_t size, const char* format, va_list args) {
    const int written = std::vsnprintf(buffer, size, format, args);
    if (written < 0) {
        buffer[0] = '\0';
        return 0;
    }
    if (static_cast<size_t>(written) < size) return static_cast<size_t>(written);
    const size_t kept = Utf8Boundary(buffer, size - 1);
    buffer[kept] = '\0';
    return kept;
}

__attribute__((format(printf, 3, 4)))
size_t FormatBounded(char* buffer, size_t size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const size_t length = FormatBounded(buffer, size, format, args);
    va_end(args);
    return length;
}

// The record keeps its line end even when its text is cut, so one long record
// never runs into the next.
size_t FormatRecord(Buffer& record, const char* message) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    const size_t length = FormatBounded(
        record.data(), record.size() - 2, "%04d/%02d/%02d %02d:%02d:%02d.%03d %s",
        local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
        local.tm_sec, static_cast<int>(now.tv_nsec / 1000000), message);
    std::memcpy(record.data() + length, "\r\n", 3);
    return length + 2;
}

// False when the record could not be written whole, and so is dropped.
bool WriteAll(int file, const char* bytes, size_t count) {
    while (count > 0) {
        const ssize_t written = ::write(file, bytes, count);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes += written;
        count -= static_cast<size_t>(written);
    }
    return true;
}

// Only the file name: records name their source without its directory.
const char* ShortSourceName(const char* path) {
    if (path == nullptr) return "";
    const std::string_view text(path);
    size_t cut = text.find_last_of("/\\");
    if (cut == std::string_view::npos) cut = text.rfind(':');
    return cut == std::string_view::npos ? path : path + cut + 1;
}

// The number between the base name and ".log", saturated instead of
// overflowing; -1 unless that part is all digits. Other files that merely
// share the prefix («numora 12 keep.log», «numora10-notes.log») are not
// ours to delete.
int PurgeNumberOf(std::string_view middle) {
    if (middle.empty() || middle.find_first_not_of("0123456789") != std::string_view::npos) return -1;
    const long number = std::strtol(std::string(middle).c_str(), nullptr, 10);
    return static_cast<int>(std::min<long>(number, INT_MAX));
}

// The generation of a file named exactly as rotation names them, or -1.
int GenerationOf(const std::string& digits) {
    int generation = -1;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), generation);
    const bool exact = error == std::errc() && end == digits.data() + digits.size() &&
                       std::to_string(generation) == digits;
    return exact ? generation : -1;
}

// Holds the log folder's lock while one program rotates the generations and
// opens the newest: programs started together would otherwise rename the
// same files at once, one overwriting the generation another had just moved
// there. Records are appended without it: a program's open file keeps its
// records whatever name rotation gives it later. A folder that cannot be
// opened or locked is rotated without the lock, as before.
class CFolderLock {
public:
    explicit CFolderLock(const std::string& directory)
        : fd_(::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (fd_ < 0) return;
        while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~CFolderLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    CFolderLock(const CFolderLock&) = delete;
    CFolderLock& operator=(const CFolderLock&) = delete;

private:
    int fd_;
};

}  // namespace

CILogManager::CILogManager() = default;

void CILogManager::SetLocation(const std::string& directory, const std::string& baseName) {
    Close();
    directory_ = directory;
    baseName_ = baseName;
}

CILogManager::~CILogManager() { Close(); }

std::string CILogManager::GenerationPath(int generation) const {
    return directory_ + baseName_ + std::to_string(generation) + std::string(kExtension);
}

// Names of the directory entries matching "<base>*.log". Without a base name
// the pattern would take in every log file of the folder, so it matches none.
std::vector<std::string> CILogManager::LogFileNames() const {
    std::vector<std::string> names;
    if (baseName_.empty()) return names;
    const std::unique_ptr<DIR, int (*)(DIR*)> folder(
        opendir(directory_.empty() ? "." : directory_.c_str()), closedir);
    if (!folder) return names;
    while (const dirent* entry = readdir(folder.get())) {
        const std::string_view name(entry->d_name);
        if (name.size() >= baseName_.size() + kExtension.size() && name.starts_with(baseName_) &&
            name.ends_with(kExtension)) {
            names.emplace_back(name);
        }
    }
    return names;
}

void CILogManager::Purge(int limit) {
    for (const std::string& name : LogFileNames()) {
        const std::string_view middle =
            std::string_view(name).substr(baseName_.size(), name.size() - baseName_.size() - kExtension.size());
        const int number = PurgeNumberOf(middle);
        if (number >= 0 && number >= limit) ::unlink((directory_ + name).c_str());
    }
}

// Shifts every existing generation up by one, oldest first, after dropping the
// last one. Only files that exist are renamed, so the work does not depend on
// the generation count.
void CILogManager::Rotate() {
    ::unlink(GenerationPath(generations_ - 1).c_str());
    std::vector<int> existing;
    for (const std::string& name : LogFileNames()) {
        const size_t digits = name.size() - baseName_.size() - kExtension.size();
        const int generation = GenerationOf(name.substr(baseName_.size(), digits));
        if (generation >= 0 && generation <= generations_ - 2) existing.push_back(generation);
    }
    std::sort(existing.rbegin(), existing.rend());
    for (const int generation : existing) {
        std::rename(GenerationPath(generation).c_str(), GenerationPath(generation + 1).c_str());
    }
}

void CILogManager::Configure(const std::string& directory, const std::string& baseName,
                             int generations, const char* levelName) {
    Configure(directory, baseName, generations, LevelOfName(levelName));
}

void CILogManager::Configure(const std::string& directory, const std::string& baseName,
                             int generations, int level) {
    directory_ = directory;
    baseName_ = baseName;
    SetLevel(generations, level);
}

void CILogManager::SetLevel(int generations, const char* levelName) {
    SetLevel(generations, LevelOfName(levelName));
}

// The file is closed so that the next record reopens, and rotates, with the
// new settings.
void CILogManager::SetLevel(int generations, int level) {
    Close();
    if (generations >= 0) generations_ = generations;
    minimumLevel_ = level;
}

int CILogManager::Open() {
    Close();
    if (generations_ <= 0) return 0;
    if (baseName_.empty()) return ENOENT;
    const CFolderLock lock(directory_);
    Rotate();
    // A symbolic link in place of the file would have the records appended to
    // whatever it points at, and a FIFO would hold the program at its first
    // record: neither is followed or waited for, and the record is dropped.
    const int file = ::open(GenerationPath(0).c_str(),
                            O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0644);
    if (file < 0) return errno;
    struct stat status {};
    if (fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(file);
        return EINVAL;
    }
    file_ = file;
    return 0;
}

void CILogManager::Close() {
    if (file_ < 0) return;
    ::close(file_);
    file_ = -1;
}

void CILogManager::WriteRecord(const char* message) {
    const std::lock_guard<std::mutex> guard(lock_);
    if (file_ < 0) {
        if (Open() != 0) return;
        Purge(generations_);
    }
    if (file_ < 0) return;
    Buffer record;
    const size_t length = FormatRecord(record, message);
    if (WriteAll(file_, record.data(), length)) ++recordsWritten_;
}

void CILogManager::Write(const char* format, ...) {
    Buffer message;
    va_list args;
    va_start(args, format);
    FormatBounded(message.data(), message.size(), format, args);
    va_end(args);
    WriteRecord(message.data());
}

void CILogManager::Log(int level, const char* format, ...) {
    if (level < minimumLevel_) return;
    Buffer message;
    va_list args;
    va_start(args, format);
    FormatBounded(message.data(), message.size(), format, args);
    va_end(args);
    Write("%s", message.data());
}

void CILogManager::LogText(int level, const char* sourcePath, int line, const char* text) {
    if (level < minimumLevel_ || level < DEBUG || level > FATAL) return;
    Write("%5.5s [%s:%d] %s", kLevelNames[level], ShortSourceName(sourcePath), line,
          text ? text : "");
}

void CILogManager::Log(int level, const char* sourcePath, int line, const char* format, ...) {
    if (level < minimumLevel_ || level < DEBUG || level > FATAL) return;
    Buffer message;
    va_list args;
    va_start(args, format);
    FormatBounded(message.data(), message.size(), format, args);
    va_end(args);
    LogText(level, sourcePath, line, message.data());
}

void CILogManager::LogSystemError(int level, const char* sourcePath, int line, int errorCode) {
    Buffer message{};
    LogText(level, sourcePath, line, strerror_r(errorCode, message.data(), message.size()));
}

void CILogManager::Dump(int level, const char* text, const void* bytes, int count) {
    if (level < minimumLevel_) return;
    Dump(text, bytes, count);
}

// The bytes follow the text in hexadecimal for as long as they fit.
void CILogManager::Dump(const char* text, const void* bytes, int count) {
    Buffer message;
    size_t length = FormatBounded(message.data(), message.size(), "%s", text ? text : "");
    const auto* data = static_cast<const unsigned char*>(bytes);
    for (int i = 0; data != nullptr && i < count && message.size() - length >= 4; ++i) {
        length += FormatBounded(message.data() + length, 4, " %02X", data[i]);
    }
    Write("%s", message.data());
}

CILogManager& GlobalLog() {
    static CILogManager log;
    return log;
}
