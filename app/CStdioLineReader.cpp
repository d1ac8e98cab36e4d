#include "app/CStdioLineReader.h"

#include <unistd.h>

#include <cstdio>

#include "app/CConsoleOutput.h"
#include "platform/Terminal.h"

CStdioLineReader::CStdioLineReader(const CConsoleOutput& output)
    : output_(output), interactive_(IsTerminal(STDIN_FILENO) || IsTerminal(STDOUT_FILENO)) {}

bool CStdioLineReader::Read(std::string_view prompt, std::string& line) {
    if (!prompt.empty()) output_.PromptColour(prompt);
    if (interactive_) std::fflush(stdout);
    char* raw = buffer_.release();
    const ssize_t count = getline(&raw, &capacity_, stdin);
    buffer_.reset(raw);
    if (count < 0) return false;
    line.assign(raw, static_cast<size_t>(count));
    if (!line.empty() && line.back() == '\n') line.pop_back();
    return true;
}
