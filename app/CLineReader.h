#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

class CConsoleOutput;
class CExpManager;

// Where the prompt loop gets its lines from.
class CLineReader {
public:
    virtual ~CLineReader() = default;
    // Shows the prompt (nothing when it is empty) and reads one line, without
    // its line feed; nothing at end of input.
    virtual std::optional<std::string> Read(std::string_view prompt) = 0;
};

// Line editing when a person types at a terminal (and readline is built in);
// exact plain reading of standard input otherwise.
std::unique_ptr<CLineReader> MakeLineReader(const CConsoleOutput& output,
                                            const CExpManager& manager);
