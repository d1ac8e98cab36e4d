#pragma once

#include <string>

// Readline's history of the lines typed at the prompt, kept from one run to
// the next: the file is read when the reader starts, and the last kMaxLines
// lines are written back when it ends. Without a file the history lasts for
// the session only.
class CHistoryFile {
public:
    static constexpr int kMaxLines = 1000;

    // path empty: nothing is read or written.
    explicit CHistoryFile(std::string path);
    ~CHistoryFile();
    CHistoryFile(const CHistoryFile&) = delete;
    CHistoryFile& operator=(const CHistoryFile&) = delete;

private:
    std::string path_;
};

// NUMORA_HISTORY when it is set (empty: no file), otherwise "numora/history"
// in the user's state directory; empty when there is none.
std::string HistoryPath();
