#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "app/CConsoleOutput.h"
#include "app/FrontEndSettings.h"

class CExpManager;
class CReportWriter;

// The "#" commands of the prompt: help, grammar help, silent mode, output
// radix, the digits of floating results, the variable and function listings,
// and exit. Each command is one row of the table in CConsoleCommands.cpp
// (its names, its line in the help listing, the member that performs it).
class CConsoleCommands {
public:
    enum class Outcome { Continue, Exit };

    CConsoleCommands(FrontEndSettings& settings, const CConsoleOutput& output, const CReportWriter& report,
                     const CExpManager& manager)
        : settings_(settings), output_(output), report_(report), manager_(manager) {}

    // Performs a command; line is the trimmed, lower-cased copy of the input.
    Outcome Dispatch(const std::string& line);

    // Every command name, in table order (for completion).
    static std::vector<std::string> Names();

private:
    // What performs a command, given the trimmed, lower-cased line and the
    // text after the command's name (empty but for "#form").
    using Handler = Outcome (CConsoleCommands::*)(const std::string& line, std::string_view argument);
    // One command: its names, its line in the help listing (none for a
    // command left out of it) and what performs it.
    struct Row {
        std::array<const char*, 3> names;
        const char* description;
        // The name may be followed by blanks and an argument.
        bool takesArgument;
        Handler handler;
    };
    // In the order of the help listing.
    static const Row kRows[];

    Outcome ShowHelp(const std::string& line, std::string_view argument);
    Outcome ShowGrammar(const std::string& line, std::string_view argument);
    Outcome SetSilent(const std::string& line, std::string_view argument);
    template <int radix>
    Outcome SelectRadix(const std::string& line, std::string_view argument);
    Outcome ListVariables(const std::string& line, std::string_view argument);
    Outcome ListFunctions(const std::string& line, std::string_view argument);
    // "#form N": the significant digits of floating results, N from 1 to 17.
    Outcome SetFloatDigits(const std::string& line, std::string_view argument);
    Outcome Exit(const std::string& line, std::string_view argument);

    void WriteHelp() const;
    // Reports an unknown or unavailable command, then shows the help unless silent.
    void RejectCommand(const std::string& ending, const std::string& line, std::string_view english) const;

    FrontEndSettings& settings_;
    const CConsoleOutput& output_;
    const CReportWriter& report_;
    const CExpManager& manager_;
};
