#include "app/CStdioLineReader.h"

#include "app/CConsoleOutput.h"
#include "platform/TerminationSignals.h"

CStdioLineReader::CStdioLineReader(const CConsoleOutput& output) : output_(output) {}

bool CStdioLineReader::Read(std::string_view prompt, std::string& line) {
    if (!prompt.empty()) output_.PromptColour(prompt);
    if (!ReadyForLine(stdin)) return false;
    {
        const CInputWait wait;
        if (!input_.Read(line)) return false;
    }
    if (!line.empty() && line.back() == '\n') line.pop_back();
    return true;
}
