#include "platform/ModulePath.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "base/CILogManager.h"

PathParts SplitPath(const std::string& path) {
    PathParts parts;
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    parts.directory = path.substr(0, nameStart);
    const std::string name = path.substr(nameStart);
    const size_t dot = name.rfind('.');
    // A leading dot names a hidden file, not an extension.
    if (dot == std::string::npos || dot == 0) {
        parts.baseName = name;
    } else {
        parts.baseName = name.substr(0, dot);
        parts.extension = name.substr(dot);
    }
    return parts;
}

std::string ModulePath() {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return {};
        if (static_cast<size_t>(n) < buffer.size()) return std::string(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

OsVersion ReadOsVersion() {
    utsname names{};
    if (uname(&names) != 0) {
        GlobalLog().LogSystemError(CILogManager::ERROR, "iwinapi", __LINE__, errno);
        return {};
    }
    OsVersion version;
    char* end = nullptr;
    version.major = static_cast<int>(std::strtol(names.release, &end, 10));
    if (*end == '.') version.minor = static_cast<int>(std::strtol(end + 1, nullptr, 10));
    return version;
}

ModuleInfo ReadModuleInfo() {
    ModuleInfo info;
    info.path = ModulePath();
    if (info.path.empty()) {
        info.error = "*kestrak error : IConApp(" + std::to_string(__LINE__) + ") " + std::to_string(errno);
        return info;
    }
    info.parts = SplitPath(info.path);
    info.os = ReadOsVersion();
    return info;
}
