#include "app/CConApp.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <string>

#include "app/CConsoleOutput.h"
#include "app/CFrontEnd.h"
#include "app/FailureText.h"
#include "base/CILogManager.h"
#include "platform/Faults.h"
#include "platform/ModulePath.h"
#include "platform/StandardStreams.h"
#include "platform/TerminationSignals.h"

namespace {

constexpr int kFailure = -1;

// What is still buffered for stdout goes out before the run ends. A
// termination signal that arrived while a line was at work decides the
// status; a failed write is reported once (a pipe nobody reads any more
// ends the run quietly instead).
int FinishRun(int status) {
    if (const int signal = PendingTerminationSignal(); signal != 0) {
        FlushStandardOutput();
        return 128 + signal;
    }
    if (FlushStandardOutput()) return status;
    const int error = StandardOutputError();
    if (error == EPIPE) EndAsBrokenPipe();
    WriteErrorLine("*kestrak system error : IConApp(" + std::to_string(__LINE__) + ") " + std::strerror(error));
    return kFailure;
}

}  // namespace

int CConApp::RunReported(const std::function<int()>& frontEnd) {
    try {
        return frontEnd();
    } catch (...) {
        WriteErrorLine(FailureText(std::current_exception()));
    }
    return kFailure;
}

int CConApp::Run(int argc, const char* const* argv) {
    // Before anything opens a file that could take the place of a closed one.
    OccupyStandardDescriptors();
    UseLargeInputBuffer();
    const CFaultHandlers faults;
    const CTerminationSignals signals;
    const ModuleInfo module = ReadModuleInfo();
    if (!module.error.empty()) {
        WriteErrorLine(module.error);
        return kFailure;
    }
    // The logs sit next to the executable.
    const PathParts executable = SplitPath(module.path);
    GlobalLog().SetLocation(executable.drive + executable.directory, executable.baseName);
    return FinishRun(RunReported([&] { return CFrontEnd().Run(argc, argv); }));
}
