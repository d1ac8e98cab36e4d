#include "app/CStdioLineReader.h"

#include "app/CConsoleOutput.h"
#include "platform/StandardStreams.h"

CStdioLineReader::CStdioLineReader(const CConsoleOutput& output) : output_(output) {}

bool CStdioLineReader::Read(std::string_view prompt, std::string& line) {
    if (!prompt.empty()) output_.PromptColour(prompt);
    return ReadFrom(stdin, input_, line) == NextLine::Read;
}

std::string_view CStdioLineReader::Ahead() const { return UnreadInput(stdin); }
