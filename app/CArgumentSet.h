#pragma once

#include <string>
#include <vector>

#include "platform/ModulePath.h"

// The command-line words sorted for the front end. The first word is the
// program's path as typed and never an option: on POSIX an absolute path
// begins with "/", which would otherwise read as an option word. A later
// word beginning with "/" is an option unless it holds a second "/", as
// every absolute path of a file but one in the root folder does; every word
// after "--" is a script file, whatever it begins with.
class CArgumentSet {
public:
    static constexpr const char* kEndOfOptions = "--";

    CArgumentSet(int argc, const char* const* argv);

    // Words after the program's path beginning with "-", or with "/" and
    // holding no second "/", up to "--", in order.
    const std::vector<std::string>& Options() const { return options_; }
    // The program's path and the words that are not options, in order.
    const std::vector<std::string>& Others() const { return others_; }
    // The script files: the words that are not options, after the program's
    // path.
    std::vector<std::string> Scripts() const;
    bool HasProgram() const { return !others_.empty(); }
    // The program's path split into its parts (all empty without one).
    const PathParts& Program() const { return program_; }

private:
    std::vector<std::string> options_;
    std::vector<std::string> others_;
    PathParts program_;
};
