#pragma once

#include <string>
#include <vector>

#include "app/CConsoleOutput.h"
#include "app/FrontEndSettings.h"
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
    int PromptLoop(CExpManager& manager, CLineReader& reader, CConsoleCommands& commands);
    void RunProgramLine(CExpManager& manager, const std::string& line);
    void ExecuteLine(CExpManager& manager);
    // "#exit": the last result when it is of an integer type, otherwise 0.
    int ExitStatus() const;

    CConsoleOutput output_;
    FrontEndSettings settings_;
    CValueData lastResult_;
};

// The copy of a line that commands are recognised on: white space removed at
// both ends, ASCII upper-case letters turned to lower case.
std::string CommandCopy(const std::string& line);

// The include file read at start-up: "%s%s%s.inc" of the program's drive,
// directory and base name.
std::string IncludePath(const CArgumentSet& arguments);
