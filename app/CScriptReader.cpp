#include "app/CScriptReader.h"

#include <cerrno>
#include <cstring>

#include "app/CConsoleOutput.h"

CScriptReader::CScriptReader(const CConsoleOutput& output, const std::vector<std::string>& paths)
    : output_(output) {
    for (const std::string& path : paths) scripts_.push_back({path, nullptr});
}

bool CScriptReader::Open() {
    for (Script& script : scripts_) {
        script.file.reset(std::fopen(script.path.c_str(), "rb"));
        if (!script.file) {
            ReportFailure(script.path, errno);
            return false;
        }
    }
    return true;
}

bool CScriptReader::Read(std::string_view prompt, std::string& line) {
    if (!prompt.empty()) output_.PromptColour(prompt);
    for (; current_ < scripts_.size(); ++current_) {
        FILE* file = scripts_[current_].file.get();
        char* raw = buffer_.release();
        const ssize_t count = getline(&raw, &capacity_, file);
        buffer_.reset(raw);
        if (count >= 0) {
            line.assign(raw, static_cast<size_t>(count));
            if (!line.empty() && line.back() == '\n') line.pop_back();
            return true;
        }
        if (std::ferror(file)) {
            ReportFailure(scripts_[current_].path, errno);
            return false;
        }
    }
    return false;
}

void CScriptReader::ReportFailure(const std::string& path, int error) {
    failed_ = true;
    WriteErrorLine("numora: cannot read " + path + ": " + std::strerror(error));
}
