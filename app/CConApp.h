#pragma once

#include <functional>

// The process's entry layer: fault handlers, the program's whereabouts, the
// front end, and the report of anything that escapes it. Run returns the
// process exit status; every escaped exception ends the run with -1.
class CConApp {
public:
    int Run(int argc, const char* const* argv);

    // Runs frontEnd and returns its status; an exception that escapes it is
    // written as one line to stderr and gives -1.
    static int RunReported(const std::function<int()>& frontEnd);
};
