#include "app/CHistoryFile.h"

#include <readline/history.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "app/CConsoleOutput.h"
#include "platform/UserDirectories.h"

CHistoryFile::CHistoryFile(std::string path) : path_(std::move(path)) {
    using_history();
    stifle_history(kMaxLines);
    // A missing file is the first run.
    if (!path_.empty()) read_history(path_.c_str());
}

CHistoryFile::~CHistoryFile() {
    if (!path_.empty()) {
        const int error = MakeParentDirectories(path_) ? write_history(path_.c_str()) : errno;
        if (error != 0) {
            WriteErrorLine("numora: cannot save the history in " + path_ + ": " + std::strerror(error));
        }
    }
    clear_history();
}

std::string HistoryPath() {
    if (const char* chosen = std::getenv("NUMORA_HISTORY")) return chosen;
    const std::string state = StateHome();
    return state.empty() ? "" : state + "/numora/history";
}
