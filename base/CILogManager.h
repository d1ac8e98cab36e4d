#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

// Writes timestamped records to rotating log files: <dir><base>0.log is the
// newest generation. The program's frame puts them next to the executable;
// until it is told where, and whenever a record cannot be written (no file,
// no permission, something other than a regular file in its place), a
// record is dropped silently.
class CILogManager {
public:
    enum Level { NONE = 0, DEBUG = 1, INFO = 2, WARN = 3, ERROR = 4, FATAL = 5 };

    CILogManager();
    virtual ~CILogManager();

    // Where the files go: "<directory><baseName>N.log".
    void SetLocation(const std::string& directory, const std::string& baseName);

    // Deletes the files "<base>N.log" whose N, all digits, is limit or more.
    virtual void Purge(int limit);
    virtual void Configure(const std::string& directory, const std::string& baseName,
                           int generations, const char* levelName);
    virtual void Configure(const std::string& directory, const std::string& baseName,
                           int generations, int level);
    virtual void SetLevel(int generations, const char* levelName);
    virtual void SetLevel(int generations, int level);
    virtual int Open();
    virtual void Close();
    // Named apart from the formatting Log: with the same name, a call with a
    // text and no arguments would match both.
    virtual void LogText(int level, const char* sourcePath, int line, const char* text);
    virtual void Write(const char* format, ...) __attribute__((format(printf, 2, 3)));
    virtual void Log(int level, const char* format, ...) __attribute__((format(printf, 3, 4)));
    virtual void Log(int level, const char* sourcePath, int line, const char* format, ...)
        __attribute__((format(printf, 5, 6)));
    virtual void LogSystemError(int level, const char* sourcePath, int line, int errorCode);
    virtual void Dump(int level, const char* text, const void* bytes, int count);
    virtual void Dump(const char* text, const void* bytes, int count);

    // How many records reached a log file so far: a caller can tell whether
    // the reason for a failure was written, or dropped.
    size_t RecordsWritten() const { return recordsWritten_; }

private:
    void WriteRecord(const char* message);
    std::string GenerationPath(int generation) const;
    std::vector<std::string> LogFileNames() const;
    void Rotate();

    int file_ = -1;   // descriptor of generation 0 while it is open
    std::mutex lock_;
    std::string directory_;
    std::string baseName_;
    int generations_ = 10;
    int minimumLevel_ = 0;
    std::atomic<size_t> recordsWritten_ = 0;
};

// The one log manager of the process.
CILogManager& GlobalLog();
