#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

class CConsoleOutput;
class CLineInput;
class CExpManager;

// Where the prompt loop gets its lines from.
class CLineReader {
public:
    virtual ~CLineReader() = default;
    // Shows the prompt (nothing when it is empty) and reads one line, without
    // its line feed, into line (whose storage is reused from line to line);
    // false at end of input.
    virtual bool Read(std::string_view prompt, std::string& line) = 0;
    // The text past the line just read that the reader already holds: the
    // lines to come, as far as they have been taken in. Empty when there is
    // none (as at a terminal, where they have not been typed yet).
    virtual std::string_view Ahead() const { return {}; }
    // Where the line just read comes from, as the lines that report on it
    // begin: "calc.num:3: " for the third line of a script file, nothing for
    // standard input.
    virtual std::string Origin() const { return {}; }
    // The input could not be read to its end (a message has named it).
    virtual bool Failed() const { return false; }

protected:
    // Called before a line is read from input: false when the run is to end
    // instead, because a termination signal arrived while the last line was
    // at work or a write to stdout failed. When the read would wait, stdout
    // is flushed first, so whoever waits for the results gets them; while
    // input is already there, output stays in its buffer.
    static bool ReadyForLine(FILE* input);

    // What reading a stream's next line came to: a line, none (the end of
    // the stream, or a read error), or the end of the run (ReadyForLine).
    enum class NextLine { Read, None, Stop };
    // Reads the next line of input, which reads stream, without its line
    // feed; the wait for it is marked for the termination signals.
    static NextLine ReadFrom(FILE* stream, CLineInput& input, std::string& line);
};

// Line editing when a person types at a terminal (and readline is built in);
// exact plain reading of standard input otherwise.
std::unique_ptr<CLineReader> MakeLineReader(const CConsoleOutput& output,
                                            const CExpManager& manager);
