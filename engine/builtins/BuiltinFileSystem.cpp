// File system: access, chdir, chmod, mkdir, rmdir, remove, rename, getcwd.
// Results are the C library's, passed through: 0 or -1, or the error number
// for access. A path holding a zero byte is refused as the C library refuses
// an invalid argument (EINVAL), never cut short at the zero.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "engine/builtins/BuiltinSupport.h"
#include "engine/builtins/Builtins.h"
#include "platform/Faults.h"

namespace {

// Runs a 0-or-minus-1 call on the path arguments; a path that cannot be a C
// text gives -1.
template <class Operation>
bool ReturnStatus(CBuiltinCall& call, Operation operation) {
    const std::optional<std::string> path = CText(call.Arg(0));
    call.Return(CValueData::Int(path ? operation(path->c_str()) : -1));
    return true;
}

// The current directory whatever its length; nothing (and errno) on failure.
std::optional<std::string> CurrentDirectory() {
    std::string buffer(256, '\0');
    for (;;) {
        if (getcwd(buffer.data(), buffer.size()) != nullptr) return std::string(buffer.c_str());
        if (errno != ERANGE) return std::nullopt;
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

namespace builtin {

// 0 when the access is allowed, otherwise the error number.
bool Access(CBuiltinCall& call) {
    const std::optional<std::string> path = CText(call.Arg(0));
    const int mode = call.Arg(1).AsInt();
    if (!path) {
        call.Return(CValueData::Int(EINVAL));
    } else {
        call.Return(CValueData::Int(access(path->c_str(), mode) == 0 ? 0 : errno));
    }
    return true;
}

bool Chdir(CBuiltinCall& call) {
    return ReturnStatus(call, [](const char* path) { return chdir(path); });
}

bool Chmod(CBuiltinCall& call) {
    const mode_t mode = static_cast<mode_t>(call.Arg(1).AsInt());
    return ReturnStatus(call, [mode](const char* path) { return chmod(path, mode); });
}

bool Mkdir(CBuiltinCall& call) {
    return ReturnStatus(call, [](const char* path) { return mkdir(path, 0777); });
}

bool Rmdir(CBuiltinCall& call) {
    return ReturnStatus(call, [](const char* path) { return rmdir(path); });
}

bool Remove(CBuiltinCall& call) {
    return ReturnStatus(call, [](const char* path) { return std::remove(path); });
}

bool Rename(CBuiltinCall& call) {
    const std::optional<std::string> target = CText(call.Arg(1));
    if (!target) {
        call.Return(CValueData::Int(-1));
        return true;
    }
    return ReturnStatus(call, [&target](const char* path) { return std::rename(path, target->c_str()); });
}

// Argument 2 is the size of the caller's buffer, path and terminating zero
// included. The path is read into a buffer of its own size, so a huge size
// allocates nothing; a size of 0 or less is a parameter fault.
bool Getcwd(CBuiltinCall& call) {
    const int size = call.Arg(1).AsInt();
    if (size <= 0) throw CInvPrmException();
    const std::optional<std::string> path = CurrentDirectory();
    const int error = !path ? errno : path->size() >= static_cast<size_t>(size) ? ERANGE : 0;
    if (error != 0) {
        LogCallError(call.Name(), error);
        return call.Fail(Diag::BuiltinFailed);
    }
    call.Return(CValueData::String(*path));
    return true;
}

}  // namespace builtin
