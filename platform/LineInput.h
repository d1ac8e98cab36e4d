#pragma once

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

// Reads lines of any length from a C stream. A line too long for the memory
// left is still consumed to its end: Read throws std::bad_alloc with the
// stream standing at the next line, so the caller drops that one line and
// reads on, and the rest of the input is never mistaken for its end.
class CLineInput {
public:
    explicit CLineInput(FILE* stream) : stream_(stream) {}

    // One line with its line feed (the last line of the input may have
    // none); false at the end of the input.
    bool Read(std::string& line);
    // The same, only when the line is already whole in the stream's buffer,
    // which a read then cannot wait for; false, with nothing read, when it
    // is not.
    bool ReadBuffered(std::string& line);

private:
    struct FreeBuffer {
        void operator()(char* p) const { std::free(p); }
    };

    void SkipRestOfLine();

    FILE* stream_;
    // getline(3)'s buffer, kept from line to line.
    std::unique_ptr<char, FreeBuffer> buffer_;
    size_t capacity_ = 0;
};

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<FILE, FileCloser>;

// Opens path for reading only when it names a regular file. A FIFO, a
// device or a directory is left alone, without waiting for a writer to
// appear at the other end of a FIFO. Null when there is no such file.
FileHandle OpenRegularFile(const std::string& path);
