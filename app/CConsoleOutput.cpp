#include "app/CConsoleOutput.h"

#include <unistd.h>

#include <cstdio>

#include "platform/StandardStreams.h"
#include "platform/Terminal.h"

namespace {

constexpr std::string_view kGreen = "\x1b[32m";
constexpr std::string_view kYellow = "\x1b[33m";
constexpr std::string_view kDefaultColour = "\x1b[39m";

// Prompts and most results are this short: they go into the buffer of
// standard output at once, or through putc, without fwrite's general path.
// Standard error has no buffer, where putc would make a system call of each
// byte.
constexpr size_t kShortText = 32;

// Into the buffer, byte by byte or fwrite, never "%s": a text may hold NUL
// bytes typed by the user. The program has one thread, so the stream's lock
// is not taken.
void Write(FILE* stream, std::string_view text) {
    if (stream == stdout && text.size() <= kShortText) {
        if (!WriteIntoBuffer(stream, text)) {
            for (const char c : text) putc_unlocked(static_cast<unsigned char>(c), stream);
        }
    } else {
        WriteInterruptibly(stream, text);
    }
    // Seen at once, a failed write keeps its reason for the report.
    if (stream == stdout) CheckStandardOutput();
}

}  // namespace

void CConsoleOutput::SetEscapes(bool on) {
    escapes_ = on && IsTerminal(STDOUT_FILENO);
}

void CConsoleOutput::Plain(std::string_view text) const {
    Write(stdout, text);
}

void CConsoleOutput::PromptColour(std::string_view text) const {
    Coloured(kGreen, text);
}

void CConsoleOutput::ResultColour(std::string_view text) const {
    Coloured(kYellow, text);
}

void CConsoleOutput::Coloured(std::string_view colour, std::string_view text) const {
    if (escapes_) Write(stdout, colour);
    Write(stdout, text);
    if (escapes_) Write(stdout, kDefaultColour);
}

void WriteErrorLine(std::string_view text) {
    std::fflush(stdout);
    Write(stderr, text);
    Write(stderr, "\n");
}
