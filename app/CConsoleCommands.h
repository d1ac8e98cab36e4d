#pragma once

#include <string>
#include <vector>

#include "app/CConsoleOutput.h"
#include "app/FrontEndSettings.h"

class CExpManager;

// The "#" commands of the prompt: help, grammar help, silent mode, output
// radix, the digits of floating results, the variable and function listings,
// and exit.
class CConsoleCommands {
public:
    enum class Outcome { Continue, Exit };

    CConsoleCommands(FrontEndSettings& settings, const CConsoleOutput& output,
                     const CExpManager& manager)
        : settings_(settings), output_(output), manager_(manager) {}

    // Performs a command; line is the trimmed, lower-cased copy of the input.
    Outcome Dispatch(const std::string& line);

    void ShowHelp() const;
    void ShowGrammar() const;
    void ListVariables() const;
    void ListFunctions() const;

    // Every command name, in table order (for completion).
    static std::vector<std::string> Names();

private:
    void SetSilent(const std::string& name);
    // "#form N": false when the line is not such a command.
    bool SetFloatDigits(const std::string& line);
    // Reports an unknown or unavailable command, then shows the help unless silent.
    void RejectCommand(const std::string& ending, const std::string& line) const;

    FrontEndSettings& settings_;
    const CConsoleOutput& output_;
    const CExpManager& manager_;
};
