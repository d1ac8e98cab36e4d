#pragma once

#include <string>
#include <vector>

#include "app/CLineReader.h"
#include "platform/LineInput.h"

// Reads the lines of script files named on the command line, one file after
// the other, as if they were typed. Lines are taken as standard input's are:
// whole, NUL bytes and a carriage return before the line feed included; a
// termination signal or a failed write to stdout ends the run between two
// lines. A first line beginning with "#!" names the program that runs an
// executable script and is passed over (it still counts as line 1).
class CScriptReader final : public CLineReader {
public:
    CScriptReader(const CConsoleOutput& output, const std::vector<std::string>& paths);

    // Opens every file before any line runs, so a misspelt name is found
    // before the files before it have done anything. False, after a message
    // naming the file, when one cannot be opened.
    bool Open();
    bool Read(std::string_view prompt, std::string& line) override;
    std::string_view Ahead() const override;
    std::string Origin() const override;
    // A file could not be read to its end (the message has been written).
    bool Failed() const override { return failed_; }

private:
    struct Script {
        std::string path;
        FileHandle file;
        CLineInput input;
        // The number of the line read last, or being read.
        size_t lineNumber = 0;
    };

    void ReportFailure(const std::string& path, int error);

    const CConsoleOutput& output_;
    std::vector<std::string> paths_;
    std::vector<Script> scripts_;
    size_t current_ = 0;
    bool failed_ = false;
};
