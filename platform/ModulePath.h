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
