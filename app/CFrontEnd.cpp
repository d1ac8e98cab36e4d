#include "app/CFrontEnd.h"

#include <algorithm>
#include <cctype>
#include <new>

#include "app/CArgumentSet.h"
#include "app/CConsoleCommands.h"
#include "app/CLineReader.h"
#include "app/FailureText.h"
#include "base/CIError.h"
#include "engine/CExpManager.h"
#include "platform/ModulePath.h"
#include "value/CTextError.h"
#include "value/TypeCode.h"

namespace {

constexpr const char* kPrompt = "> ";
constexpr char kCommandPrefix = '#';

constexpr const char* kUsage[] = {
    "式計算コマンド\n",
    "書式：numora [/h][/s][/s0][/s1]\n",
    "  /?          使用方法\n",
    "  /s /s0 /s1  サイレントモード切り替え\n",
    "  /e /e0 /e1  エスケープシーケンス使用切り替え",
};

enum class Option { Usage, SilentOff, SilentOn, SilentToggle, EscapesOff, EscapesOn, EscapesToggle };

struct OptionRow {
    const char* dash;
    const char* slash;
    Option option;
};

constexpr OptionRow kOptions[] = {
    {"-?", "/?", Option::Usage},
    {"-s0", "/s0", Option::SilentOff},
    {"-s1", "/s1", Option::SilentOn},
    {"-s", "/s", Option::SilentToggle},
    {"-e0", "/e0", Option::EscapesOff},
    {"-e1", "/e1", Option::EscapesOn},
    {"-e", "/e", Option::EscapesToggle},
};

const OptionRow* FindOption(const std::string& word) {
    for (const OptionRow& row : kOptions) {
        if (word == row.dash || word == row.slash) return &row;
    }
    return nullptr;
}

bool IsSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

std::string CommandCopy(const std::string& line) {
    size_t begin = 0;
    size_t end = line.size();
    while (begin < end && IsSpace(line[begin])) ++begin;
    while (end > begin && IsSpace(line[end - 1])) --end;
    std::string copy = line.substr(begin, end - begin);
    for (char& c : copy) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    }
    return copy;
}

// A program started by a bare name was found through PATH: its folder is the
// running executable's, never the current directory, where a planted file
// would run its commands.
std::string IncludePath(const CArgumentSet& arguments) {
    const PathParts& program = arguments.Program();
    if (program.baseName.empty()) return {};
    std::string folder = program.drive + program.directory;
    if (folder.empty()) {
        const std::string executable = ModulePath();
        if (executable.empty()) return {};
        folder = SplitPath(executable).directory;
    }
    return folder + program.baseName + ".inc";
}

int CFrontEnd::Run(int argc, const char* const* argv) {
    const CArgumentSet arguments(argc, argv);
    if (!ApplyOptions(arguments)) {
        PrintUsage();
        return 0;
    }
    CExpManager manager;
    // Without a program name there is no name to derive the include file from.
    if (const std::string include = IncludePath(arguments); !include.empty()) {
        manager.LoadInclude(include, [](const std::exception_ptr& failure) {
            WriteErrorLine(FailureText(failure));
        });
    }
    CConsoleCommands commands(settings_, output_, manager);
    const auto reader = MakeLineReader(output_, manager);
    return PromptLoop(manager, *reader, commands);
}

bool CFrontEnd::ApplyOptions(const CArgumentSet& arguments) {
    bool usage = false;
    bool escapes = false;
    for (const std::string& word : arguments.Options()) {
        const OptionRow* row = FindOption(word);
        if (row == nullptr) {
            WriteErrorLine("オプション " + word + " は無効です");
            usage = true;
            continue;
        }
        switch (row->option) {
        case Option::Usage: usage = true; break;
        case Option::SilentOff: settings_.silent = false; break;
        case Option::SilentOn: settings_.silent = true; break;
        case Option::SilentToggle: settings_.silent = !settings_.silent; break;
        case Option::EscapesOff: escapes = false; break;
        case Option::EscapesOn: escapes = true; break;
        case Option::EscapesToggle: escapes = !escapes; break;
        }
    }
    output_.SetEscapes(escapes);
    return !usage;
}

void CFrontEnd::PrintUsage() const {
    for (const char* text : kUsage) output_.PromptColour(text);
}

int CFrontEnd::PromptLoop(CExpManager& manager, CLineReader& reader, CConsoleCommands& commands) {
    std::string line;
    for (;;) {
        try {
            if (!reader.Read(settings_.silent ? "" : kPrompt, line)) return 0;
            // Only a command needs the trimmed, lower-case copy of the line.
            const auto first = std::find_if_not(line.begin(), line.end(), IsSpace);
            if (first == line.end()) continue;
            if (*first == kCommandPrefix) {
                if (commands.Dispatch(CommandCopy(line)) == CConsoleCommands::Outcome::Exit) return ExitStatus();
                continue;
            }
            RunProgramLine(manager, line);
        } catch (const std::bad_alloc&) {
            AbandonLine();
        } catch (const CIMemoryError&) {
            AbandonLine();
        }
    }
}

// Running out of memory costs the line, never the session: the frame's text
// for the failure is shown and the next line is read, with the variables as
// they were.
void CFrontEnd::AbandonLine() {
    lastResult_.Clear();
    WriteErrorLine(FailureText(std::current_exception()));
}

void CFrontEnd::RunProgramLine(CExpManager& manager, const std::string& line) {
    try {
        if (!manager.Parse(line)) {
            std::string diagnostic;
            while (manager.NextParseDiagnostic(diagnostic)) WriteErrorLine(diagnostic);
        }
        ExecuteLine(manager);
    } catch (const CTextError& error) {
        lastResult_.Clear();
        WriteErrorLine(error.Text());
    }
}

void CFrontEnd::ExecuteLine(CExpManager& manager) {
    lastResult_.Clear();
    if (manager.Execute(lastResult_)) {
        if (!settings_.silent) {
            std::string text = lastResult_.Format(RadixOf(settings_.radixMode));
            text += '\n';
            output_.ResultColour(text);
        }
        return;
    }
    lastResult_.Clear();
    std::string diagnostic;
    while (manager.NextExecDiagnostic(diagnostic)) WriteErrorLine(diagnostic);
}

int CFrontEnd::ExitStatus() const {
    return IsIntegerType(lastResult_.Type()) ? lastResult_.AsInt() : 0;
}
