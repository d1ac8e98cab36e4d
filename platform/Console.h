#pragma once

#include <optional>
#include <string>
#include <string_view>

// The controlling terminal, used directly (not through standard input and
// output) by the console built-ins. It is opened for each use, so a process
// without a terminal (a pipe, a daemon) simply cannot open it.
class CConsole {
public:
    // The terminal, or nothing when the process has none.
    static std::optional<CConsole> Open();

    CConsole(CConsole&& other) noexcept;
    CConsole& operator=(CConsole&&) = delete;
    ~CConsole();

    // One line as the terminal delivers it, without its line end (a line
    // feed or a carriage return); bytes past limit are read and dropped.
    // Nothing on a read error or when Ctrl-C ends the wait (see
    // CInterruptCatcher).
    std::optional<std::string> ReadLine(size_t limit);
    // One key, without echo and without waiting for a line end; the terminal
    // settings are restored afterwards. Nothing on a read error, at end of
    // input, or when Ctrl-C ends the wait. Ctrl-Z stops the program with the
    // terminal's settings given back.
    std::optional<unsigned char> ReadKey();
    // False on a write error, and when Ctrl-C stopped the writing.
    bool Write(std::string_view bytes);

private:
    explicit CConsole(int fd) : fd_(fd) {}
    std::optional<unsigned char> ReadByte();

    int fd_;
};
