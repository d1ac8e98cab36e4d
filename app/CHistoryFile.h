#pragma once

#include <string>

// Readline's history of the lines typed at the prompt, kept in a file from
// one run to the next. Each line is appended to the file as it is entered,
// so a session that ends by a signal, a crash or a closed terminal loses
// none, and sessions that run at once each add their own lines. The file is
// trimmed to its last kMaxLines lines when a session starts and ends, under
// a lock that the appends take too, so a trim never drops a line another
// session has just written. Only a regular file is ever read or written; a
// path that cannot hold the history gets one warning and the session goes
// on with the history in memory. A file reached through a symbolic link is
// written and trimmed through the link; a link that names nothing creates
// nothing.
class CHistoryFile {
public:
    static constexpr int kMaxLines = 1000;

    // path empty: nothing is read or written. A relative path is taken from
    // the directory current at start, wherever the session moves later.
    explicit CHistoryFile(const std::string& path);
    ~CHistoryFile();
    CHistoryFile(const CHistoryFile&) = delete;
    CHistoryFile& operator=(const CHistoryFile&) = delete;

    // A line entered at the prompt: recalled by the arrows, and in the file.
    void Add(const std::string& line);

private:
    // False, after the warning, when the path names something other than a
    // regular file.
    bool CheckKind();
    void Trim();
    void Warn(int error);
    void Warn(const std::string& reason);

    std::string path_;
    bool parentsMade_ = false;
    bool warned_ = false;
};

// NUMORA_HISTORY when it is set (empty: no file), otherwise "numora/history"
// in the user's state directory; empty when there is none.
std::string HistoryPath();
