#pragma once

#include <string>

// A path split the way the calculator names its companion files: the drive
// (always empty on POSIX), the directory with its trailing separator, the
// base name and the extension with its dot.
struct PathParts {
    std::string drive;
    std::string directory;
    std::string baseName;
    std::string extension;
};

PathParts SplitPath(const std::string& path);
// The running executable's path (from /proc/self/exe); empty when unknown.
std::string ModulePath();

struct OsVersion {
    int major = 0;
    int minor = 0;
};

// The kernel's version from uname(2): "6.1.0-18-amd64" gives 6.1. When the
// query fails the error is logged and the version is 0.0.
OsVersion ReadOsVersion();

// Where the program lives and what it runs on, read once at start-up.
struct ModuleInfo {
    std::string path;
    PathParts parts;
    OsVersion os;
    // The start-up failure text; empty when everything was found.
    std::string error;
};

ModuleInfo ReadModuleInfo();
