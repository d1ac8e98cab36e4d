#include "app/CStdioLineReader.h"

#include <unistd.h>

#include <cstdio>

#include "app/CConsoleOutput.h"
#include "platform/Terminal.h"

CStdioLineReader::CStdioLineReader(const CConsoleOutput& output)
    : output_(output), interactive_(IsTerminal(STDIN_FILENO) || IsTerminal(STDOUT_FILENO)) {}

std::optional<std::string> CStdioLineReader::Read(std::string_view prompt) {
    if (!prompt.empty()) output_.PromptColour(prompt);
    if (interactive_) std::fflush(stdout);
    char* raw = buffer_.release();
    const ssize_t count = getline(&raw, &capacity_, stdin);
    buffer_.reset(raw);
    if (count < 0) return std::nullopt;
    std::string line(raw, static_cast<size_t>(count));
    if (!line.empty() && line.back() == '\n') line.pop_back();
    return line;
}
