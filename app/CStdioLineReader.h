#pragma once

#include <cstdlib>
#include <memory>

#include "app/CLineReader.h"

// Reads standard input through the C library's stdin, the stream the
// built-ins gets and getchar read as well, so lines and their reads stay in
// order. Lines of any length are read whole; NUL bytes and a carriage return
// before the line feed stay part of the line.
class CStdioLineReader final : public CLineReader {
public:
    explicit CStdioLineReader(const CConsoleOutput& output);
    bool Read(std::string_view prompt, std::string& line) override;

private:
    struct FreeBuffer {
        void operator()(char* p) const { std::free(p); }
    };

    const CConsoleOutput& output_;
    // Someone may be watching: the prompt must show before the read blocks.
    bool interactive_;
    // getline(3)'s buffer, kept from line to line.
    std::unique_ptr<char, FreeBuffer> buffer_;
    size_t capacity_ = 0;
};
