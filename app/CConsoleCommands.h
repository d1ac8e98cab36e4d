#pragma once

#include <string>
#include <vector>

#include "app/CConsoleOutput.h"
#include "app/FrontEndSettings.h"

class CExpManager;
class CReportWriter;

// What a console command works on: the run's settings, the writers, and the
// manager whose names it lists.
struct CommandContext {
    FrontEndSettings& settings;
    const CConsoleOutput& output;
    const CReportWriter& report;
    const CExpManager& manager;
};

// The "#" commands of the prompt: help, grammar help, silent mode, output
// radix, the digits of floating results, the variable and function listings,
// and exit. Each command is one row of the table in CConsoleCommands.cpp
// (its names, its line in the help listing, the function that performs it).
class CConsoleCommands {
public:
    // Refused: the command was unknown or could not be carried out, and was
    // reported as a failed line.
    enum class Outcome { Continue, Refused, Exit };

    explicit CConsoleCommands(const CommandContext& context) : context_(context) {}

    // Performs a command; line is the trimmed, lower-cased copy of the input.
    Outcome Dispatch(const std::string& line);

    // Every command name, in table order (for completion).
    static std::vector<std::string> Names();

private:
    CommandContext context_;
};
