#include "app/CFrontEnd.h"

#include <algorithm>
#include <cctype>

#include "app/CArgumentSet.h"
#include "app/CConsoleCommands.h"
#include "app/CLineReader.h"
#include "engine/CExpManager.h"
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

std::string IncludePath(const CArgumentSet& arguments) {
    const PathParts& program = arguments.Program();
    return program.drive + program.directory + program.baseName + ".inc";
}

int CFrontEnd::Run(int argc, const char* const* argv) {
    const CArgumentSet arguments(argc, argv);
    if (!ApplyOptions(arguments)) {
        PrintUsage();
        return 0;
    }
    CExpManager manager;
    // Without a program path there is no name to derive the include file from.
    if (arguments.HasProgram()) manager.LoadInclude(IncludePath(arguments));
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
    while (reader.Read(settings_.silent ? "" : kPrompt, line)) {
        // Only a command needs the trimmed, lower-case copy of the line.
        const auto first = std::find_if_not(line.begin(), line.end(), IsSpace);
        if (first == line.end()) continue;
        if (*first == kCommandPrefix) {
            if (commands.Dispatch(CommandCopy(line)) == CConsoleCommands::Outcome::Exit) return ExitStatus();
            continue;
        }
        RunProgramLine(manager, line);
    }
    return 0;
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
            std::string text = lastResult_.Format(RadixOf(settings_.radixMode), settings_.floatDigits);
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
