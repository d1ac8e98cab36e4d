// Environment and commands: getenv, putenv, system.
#include <sys/wait.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/builtins/BuiltinSupport.h"
#include "engine/builtins/Builtins.h"

namespace builtin {

// An unset variable (or a name no variable can have) gives the empty text.
bool Getenv(CBuiltinCall& call) {
    const std::optional<std::string> name = CText(call.Arg(0));
    const char* value = name ? std::getenv(name->c_str()) : nullptr;
    call.Return(CValueData::String(std::string_view(value != nullptr ? value : "")));
    return true;
}

// Sets argument 1 to argument 2 for this process; 0 or the error number.
bool Putenv(CBuiltinCall& call) {
    const std::optional<std::string> name = CText(call.Arg(0));
    const std::optional<std::string> value = CText(call.Arg(1));
    if (!name || !value) {
        call.Return(CValueData::Int(EINVAL));
    } else {
        call.Return(CValueData::Int(setenv(name->c_str(), value->c_str(), 1) == 0 ? 0 : errno));
    }
    return true;
}

// Runs the text with /bin/sh -c and returns the command's exit status, or
// 128 plus the signal that ended the shell; -1 when it cannot be run.
bool System(CBuiltinCall& call) {
    const std::optional<std::string> command = CText(call.Arg(0));
    if (!command) {
        call.Return(CValueData::Int(-1));
        return true;
    }
    std::fflush(stdout);
    std::fflush(stderr);
    const int status = std::system(command->c_str());
    int result = -1;
    if (status != -1 && WIFEXITED(status)) result = WEXITSTATUS(status);
    if (status != -1 && WIFSIGNALED(status)) result = 128 + WTERMSIG(status);
    // Ctrl-C ended the command (the calculator ignores it while the command
    // runs): the terminal showed "^C" where the cursor was, so a result
    // printed next starts on a new line.
    if (status != -1 && WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) NoteLineOutput("^C");
    call.Return(CValueData::Int(result));
    return true;
}

}  // namespace builtin
