#pragma once

#include <optional>
#include <span>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/CConsoleOutput.h"
#include "app/CLineTokens.h"
#include "app/CReportWriter.h"
#include "app/FrontEndSettings.h"
#include "engine/Diagnostics.h"
#include "value/CValueData.h"

class CArgumentSet;
class CConsoleCommands;
class CExpManager;
class CLineReader;

// The calculator's front end: options, usage, the include files and the
// prompt loop over standard input or script files. Run returns the process
// exit status.
class CFrontEnd {
public:
    int Run(int argc, const char* const* argv);

private:
    // Applies the option words in order; false when the usage text is due.
    bool ApplyOptions(const CArgumentSet& arguments);
    void PrintUsage() const;
    int RunScripts(CExpManager& manager, const std::vector<std::string>& paths, CConsoleCommands& commands);
    // The status "#exit" gave; nothing at the end of input.
    std::optional<int> PromptLoop(CExpManager& manager, CLineReader& reader, CConsoleCommands& commands);
    void RunProgramLine(CExpManager& manager, const std::string& line);
    // True when the line ran to its value.
    bool ExecuteLine(CExpManager& manager, const std::string& line);
    // The last result in the current radix, on a line of its own.
    void WriteResult();
    // The notes on values a line that ran changed silently.
    void WriteNotes(const CExpManager& manager, const std::string& line);
    // True (once) when Ctrl-C was pressed at a terminal since the last call;
    // the cursor is then moved past the "^C" the terminal echoed.
    bool TakeInterrupt();
    // Writes each diagnostic of a failed line on its own line of stderr,
    // after the caret line at a terminal, and the hints its text calls for.
    void ReportFailure(const CExpManager& manager, std::span<const CExpDiag> diagnostics, const std::string& line);
    // The hints for the failed line in lineTokens_, for a person reading English.
    void WriteHints(const CExpManager& manager, std::span<const CExpDiag> diagnostics);
    void StartOnNewLine() const;
    void WriteCaretLine(const std::string& line, std::span<const CExpDiag> diagnostics) const;
    // Inside the handler of a memory failure: the line is dropped.
    void AbandonLine();
    // "#exit": the last result when it is of an integer type, otherwise 0.
    int ExitStatus() const;

    CConsoleOutput output_;
    FrontEndSettings settings_;
    CReportWriter report_{settings_};
    // The tokens of a line that is explained to a person at a terminal.
    CLineTokens lineTokens_;
    // The hints told since the last line that succeeded: a paste of C, or a
    // person trying again, is told each habit once.
    std::unordered_set<std::string> hintsTold_;
    CValueData lastResult_;
    // Standard input and output are both terminals and a person types the
    // lines: the hint, the caret lines and Ctrl-C's gentler meaning apply.
    bool atTerminal_ = false;
    // Whether the manager notes the values lines change silently.
    bool notesKept_ = false;
    // The lines of standard input, their results going to a pipe or a file
    // that a program reads: an empty result is the design's empty line.
    bool printsEmptyResults_ = false;
    // A line failed (a diagnostic, a value error, a refused command, a line
    // dropped for want of memory): script files then end with a failure.
    bool lineFailed_ = false;
};

// The copy of a line that commands are recognised on: white space removed at
// both ends, ASCII upper-case letters turned to lower case.
std::string CommandCopy(const std::string& line);

// The include file read at start-up: "%s%s%s.inc" of the program's drive,
// directory and base name, where a program name without a directory stands
// in the running executable's folder. Empty without a program name.
std::string IncludePath(const CArgumentSet& arguments);
