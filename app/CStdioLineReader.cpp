#include "app/CStdioLineReader.h"

#include <cerrno>
#include <cstring>

#include "app/CConsoleOutput.h"
#include "platform/StandardStreams.h"

CStdioLineReader::CStdioLineReader(const CConsoleOutput& output) : output_(output) {}

bool CStdioLineReader::Read(std::string_view prompt, std::string& line) {
    if (!prompt.empty()) output_.PromptColour(prompt);
    const NextLine next = ReadFrom(stdin, input_, line);
    if (next == NextLine::None && std::ferror(stdin)) {
        failed_ = true;
        WriteErrorLine(std::string("numora: cannot read standard input: ") + std::strerror(errno));
    }
    return next == NextLine::Read;
}

std::string_view CStdioLineReader::Ahead() const { return UnreadInput(stdin); }
