#include "app/CScriptReader.h"

#include <cerrno>
#include <cstring>

#include "app/CConsoleOutput.h"
#include "platform/StandardStreams.h"

namespace {

// "#!/usr/bin/env numora": how the system knows which program runs a script.
constexpr std::string_view kInterpreterLine = "#!";

}  // namespace

CScriptReader::CScriptReader(const CConsoleOutput& output, const std::vector<std::string>& paths)
    : output_(output), paths_(paths) {}

bool CScriptReader::Open() {
    for (const std::string& path : paths_) {
        FileHandle file(std::fopen(path.c_str(), "rb"));
        if (!file) {
            ReportFailure(path, errno);
            return false;
        }
        FILE* stream = file.get();
        scripts_.push_back({path, std::move(file), CLineInput(stream)});
    }
    return true;
}

bool CScriptReader::Read(std::string_view prompt, std::string& line) {
    if (!prompt.empty()) output_.PromptColour(prompt);
    for (; current_ < scripts_.size(); ++current_) {
        Script& script = scripts_[current_];
        // Counted before it is read, so that a line too long to read is
        // named by its own number.
        ++script.lineNumber;
        NextLine next = ReadFrom(script.file.get(), script.input, line);
        if (next == NextLine::Read && script.lineNumber == 1 && line.starts_with(kInterpreterLine)) {
            ++script.lineNumber;
            next = ReadFrom(script.file.get(), script.input, line);
        }
        if (next != NextLine::None) return next == NextLine::Read;
        if (std::ferror(script.file.get())) {
            ReportFailure(script.path, errno);
            return false;
        }
    }
    return false;
}

std::string_view CScriptReader::Ahead() const {
    return current_ < scripts_.size() ? UnreadInput(scripts_[current_].file.get()) : std::string_view();
}

std::string CScriptReader::Origin() const {
    if (current_ >= scripts_.size()) return {};
    const Script& script = scripts_[current_];
    return script.path + ":" + std::to_string(script.lineNumber) + ": ";
}

void CScriptReader::ReportFailure(const std::string& path, int error) {
    failed_ = true;
    WriteErrorLine("numora: cannot read " + path + ": " + std::strerror(error));
}
