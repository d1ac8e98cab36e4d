#pragma once

#include <string_view>

// The front end's writers. Results and listings go to the C library's stdout
// (the built-ins puts and printf write there too, so their output interleaves
// in order); error texts go to stderr, uncoloured, after stdout is flushed so
// both streams keep their order on a shared terminal or file.
class CConsoleOutput {
public:
    // Escape sequences are written only to a terminal: asking for them with
    // stdout redirected leaves the output plain.
    void SetEscapes(bool on);
    bool Escapes() const { return escapes_; }

    void Plain(std::string_view text) const;
    // Green: the prompt, the usage text, command output.
    void PromptColour(std::string_view text) const;
    // Yellow: the value of a program line.
    void ResultColour(std::string_view text) const;

private:
    void Coloured(std::string_view colour, std::string_view text) const;

    bool escapes_ = false;
};

// Writes text and a line end to stderr, after flushing stdout.
void WriteErrorLine(std::string_view text);
