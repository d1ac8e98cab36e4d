#include "platform/UserDirectories.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

namespace {

std::string BaseDirectory(const char* variable, const char* belowHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') return value;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') return "";
    return std::string(home) + belowHome;
}

}  // namespace

std::string ConfigHome() {
    return BaseDirectory("XDG_CONFIG_HOME", "/.config");
}

std::string StateHome() {
    return BaseDirectory("XDG_STATE_HOME", "/.local/state");
}

bool MakeParentDirectories(const std::string& path) {
    const size_t end = path.find_last_of('/');
    if (end == std::string::npos || end == 0) return true;
    // Each prefix that ends before a "/" is made in turn, the outermost first.
    for (size_t slash = path.find('/', 1); slash != std::string::npos && slash <= end;
         slash = path.find('/', slash + 1)) {
        if (mkdir(path.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat status {};
    if (stat(path.substr(0, end).c_str(), &status) != 0) return false;
    if (S_ISDIR(status.st_mode)) return true;
    errno = ENOTDIR;
    return false;
}
