#pragma once

#include "app/CLineReader.h"
#include "platform/LineInput.h"

// Reads standard input through the C library's stdin, the stream the
// built-ins gets and getchar read as well, so lines and their reads stay in
// order. Lines of any length are read whole; NUL bytes and a carriage return
// before the line feed stay part of the line. Input that cannot be read (a
// directory, a read error) is named on stderr and ends the lines. A line too long for the memory
// left throws std::bad_alloc, and the next Read goes on after it.
class CStdioLineReader final : public CLineReader {
public:
    explicit CStdioLineReader(const CConsoleOutput& output);
    bool Read(std::string_view prompt, std::string& line) override;
    std::string_view Ahead() const override;
    bool Failed() const override { return failed_; }

private:
    const CConsoleOutput& output_;
    CLineInput input_{stdin};
    bool failed_ = false;
};
