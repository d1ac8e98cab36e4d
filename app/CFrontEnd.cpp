#include "app/CFrontEnd.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <new>
#include <optional>
#include <vector>

#include "app/CArgumentSet.h"
#include "app/CConsoleCommands.h"
#include "app/CLineReader.h"
#include "app/CScriptReader.h"
#include "app/CaretLine.h"
#include "app/EnglishDiagnostic.h"
#include "app/FailureText.h"
#include "app/HabitHints.h"
#include "app/Notes.h"
#include "app/UnreadableFile.h"
#include "base/CIError.h"
#include "engine/builtins/BuiltinSupport.h"
#include "engine/lexer/Keywords.h"
#include "engine/manager/CExpManager.h"
#include "platform/Interrupt.h"
#include "platform/ModulePath.h"
#include "platform/Terminal.h"
#include "platform/UserDirectories.h"
#include "value/CTextError.h"
#include "value/TypeCode.h"

namespace {

constexpr const char* kPrompt = "> ";
constexpr char kCommandPrefix = '#';
// The exit status when a script file or standard input cannot be read.
constexpr int kUnreadableScript = 2;
// The exit status of script files in which a line failed, unless "#exit"
// gave one: a make rule or a CI step can tell that the script went wrong.
constexpr int kFailedScript = 1;

constexpr const char* kVersion = "numora " NUMORA_VERSION "\n";

// Before the first prompt at a terminal, on standard error; in Japanese
// under a Japanese locale.
constexpr const char* kStartLine =
    "numora " NUMORA_VERSION ": #help lists the commands, #g the grammar; #exit or Ctrl-D ends the session.";
constexpr const char* kStartLineJapanese =
    "numora " NUMORA_VERSION ": #help でコマンド一覧、#g で文法説明を表示します。#exit または Ctrl-D で終了します。";

// "--help": every word of the command line, in English.
constexpr const char* kHelp =
    "Usage: numora [OPTION]... [FILE]...\n"
    "       numora [OPTION]... -- FILE...\n"
    "An interactive calculator for a small typed subset of C. Each line is a\n"
    "console command (#help lists them) or a declaration, a function definition\n"
    "or an expression, whose value is printed. The lines of the FILEs, when\n"
    "given, are run in order instead of standard input, without prompts.\n"
    "\n"
    "  /? -?          print the usage text (in Japanese) and exit\n"
    "  /s /s0 /s1     silent mode (no prompt, no results): toggle, off, on\n"
    "  /e /e0 /e1     coloured output at a terminal: toggle, off, on\n"
    "  /p /p0 /p1     the \"> \" prompt: toggle, off, on\n"
    "  --             the words after it are FILEs, even those beginning with \"/\"\n"
    "  --help         print this help and exit\n"
    "  --version      print the version and exit\n"
    "\n"
    "Options begin with \"/\" or \"-\" (-s1 is /s1); a word beginning with \"/\"\n"
    "that holds a second \"/\" is a FILE, as an absolute path is. A FILE whose\n"
    "first line begins with \"#!\" can run as a program. At the prompt, #help\n"
    "lists the console commands and #g the grammar. Messages are in Japanese,\n"
    "with their meaning in English at a terminal, where a line that shows a\n"
    "habit from C or another calculator also gets a hint of a line to type\n"
    "instead, and a line that changes a value without a message (a decimal\n"
    "literal above 2147483647, a value narrowed where it is stored, a signed\n"
    "result that wrapped around) gets a note.\n"
    "\n"
    "Exit status: 0, or the last integer result at #exit; 1 when a line of the\n"
    "FILEs failed; 2 when a FILE or standard input cannot be read.\n"
    "See numora(1).\n";

constexpr const char* kUsage[] = {
    "式計算コマンド\n",
    "書式：numora [/h][/s][/s0][/s1]\n",
    "  /?          使用方法\n",
    "  /s /s0 /s1  サイレントモード切り替え\n",
    "  /e /e0 /e1  エスケープシーケンス使用切り替え",
};

enum class Option {
    Usage, SilentOff, SilentOn, SilentToggle, EscapesOff, EscapesOn, EscapesToggle, PromptOff, PromptOn, PromptToggle
};

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
    {"-p0", "/p0", Option::PromptOff},
    {"-p1", "/p1", Option::PromptOn},
    {"-p", "/p", Option::PromptToggle},
};

const OptionRow* FindOption(const std::string& word) {
    for (const OptionRow& row : kOptions) {
        if (word == row.dash || word == row.slash) return &row;
    }
    return nullptr;
}

// An integer literal beyond int has at least ten characters («2147483648»,
// «0x100000000»): only a line with such a run of digits and letters is
// lexed again for the literals' notes.
bool MayHoldWideLiteral(std::string_view line) {
    constexpr size_t kShortestWide = 10;
    size_t run = 0;
    for (const char c : line) {
        run = std::isalnum(static_cast<unsigned char>(c)) != 0 ? run + 1 : 0;
        if (run == kShortestWide) return true;
    }
    return false;
}

// The C locale's white space, as the lexer knows it.
bool IsSpace(char c) { return IsBlank(static_cast<unsigned char>(c)); }

// "--help" and "--version" act alone, before any other word is looked at;
// the text goes to standard output, as GNU programs do.
bool ShowInformation(const CArgumentSet& arguments) {
    for (const std::string& word : arguments.Options()) {
        const char* text = word == "--help" ? kHelp : word == "--version" ? kVersion : nullptr;
        if (text != nullptr) {
            std::fputs(text, stdout);
            return true;
        }
    }
    return false;
}

// The user's own include file, read after the one beside the program.
std::string UserIncludePath() {
    const std::string config = ConfigHome();
    return config.empty() ? "" : config + "/numora/numora.inc";
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
    if (ShowInformation(arguments)) return 0;
    const std::vector<std::string> scripts = arguments.Scripts();
    settings_.prompt = scripts.empty();
    if (!ApplyOptions(arguments)) {
        PrintUsage();
        return 0;
    }
    CExpManager manager;
    // An include line that runs out of memory is dropped with the frame's
    // text for the failure; the lines after it still take effect.
    const auto reportFailure = [](const std::exception_ptr& failure) { WriteErrorLine(FailureText(failure)); };
    // Without a program name there is no name to derive the include file from.
    if (const std::string include = IncludePath(arguments); !include.empty()) {
        manager.LoadInclude(include, reportFailure);
    }
    if (const std::string path = UserIncludePath(); !path.empty() && !manager.AddInclude(path, reportFailure)) {
        ReportUnreadableFile(path);
    }
    CConsoleCommands commands({settings_, output_, report_, manager});
    if (!scripts.empty()) return RunScripts(manager, scripts, commands);
    atTerminal_ = IsTerminal(STDIN_FILENO) && IsTerminal(STDOUT_FILENO);
    printsEmptyResults_ = !IsTerminal(STDOUT_FILENO);
    // At a terminal Ctrl-C abandons a line instead of ending the run.
    std::optional<CInterruptCatcher> catcher;
    if (atTerminal_) catcher.emplace();
    if (atTerminal_) report_.ToPersonLine(kStartLine, kStartLineJapanese);
    const auto reader = MakeLineReader(output_, manager);
    report_.ReportOn(reader.get());
    const std::optional<int> exitStatus = PromptLoop(manager, *reader, commands);
    return reader->Failed() ? kUnreadableScript : exitStatus.value_or(0);
}

int CFrontEnd::RunScripts(CExpManager& manager, const std::vector<std::string>& paths,
                          CConsoleCommands& commands) {
    CScriptReader reader(output_, paths);
    if (!reader.Open()) return kUnreadableScript;
    report_.ReportOn(&reader);
    const std::optional<int> exitStatus = PromptLoop(manager, reader, commands);
    if (reader.Failed()) return kUnreadableScript;
    if (exitStatus) return *exitStatus;
    return lineFailed_ ? kFailedScript : 0;
}

bool CFrontEnd::ApplyOptions(const CArgumentSet& arguments) {
    bool usage = false;
    bool escapes = false;
    for (const std::string& word : arguments.Options()) {
        const OptionRow* row = FindOption(word);
        if (row == nullptr) {
            report_.Fault("オプション " + word + " は無効です", "unknown option; the option --help lists them all");
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
        case Option::PromptOff: settings_.prompt = false; break;
        case Option::PromptOn: settings_.prompt = true; break;
        case Option::PromptToggle: settings_.prompt = !settings_.prompt; break;
        }
    }
    output_.SetEscapes(escapes);
    return !usage;
}

void CFrontEnd::PrintUsage() const {
    for (const char* text : kUsage) output_.PromptColour(text);
}

std::optional<int> CFrontEnd::PromptLoop(CExpManager& manager, CLineReader& reader, CConsoleCommands& commands) {
    std::string line;
    for (;;) {
        try {
            if (!reader.Read(settings_.silent || !settings_.prompt ? "" : kPrompt, line)) return std::nullopt;
            manager.PrefetchNamesAhead(reader.Ahead());
            // Only a command needs the trimmed, lower-case copy of the line.
            const auto first = std::find_if_not(line.begin(), line.end(), IsSpace);
            if (first == line.end()) continue;
            if (*first == kCommandPrefix) {
                const CConsoleCommands::Outcome outcome = commands.Dispatch(CommandCopy(line));
                if (outcome == CConsoleCommands::Outcome::Exit) return ExitStatus();
                if (outcome == CConsoleCommands::Outcome::Refused) lineFailed_ = true;
                continue;
            }
            RunProgramLine(manager, line);
        } catch (const CInterruption&) {
            // Ctrl-C stopped the line's work or output: a cancelled line.
            lastResult_.Clear();
            TakeInterrupt();
        } catch (const std::bad_alloc&) {
            AbandonLine();
        } catch (const CIError& error) {
            if (!IsOutOfRoom(error)) throw;
            AbandonLine();
        }
    }
}

// Running out of room (memory, or a string past 2 GB) costs the line, never
// the session: the frame's text for the failure is shown and the next line
// is read, with the variables as they were.
void CFrontEnd::AbandonLine() {
    lastResult_.Clear();
    lineFailed_ = true;
    report_.Fault(FailureText(std::current_exception()), "out of memory: the line was dropped, and the session goes on");
}

// A Ctrl-C pressed once the line was entered, even before it starts to run,
// stops it: the reader clears any earlier one before it reads a line.
void CFrontEnd::RunProgramLine(CExpManager& manager, const std::string& line) {
    ForgetLineOutput();
    lastResult_.Clear();
    // Values the line changes silently are looked for only where a person
    // will be told of them.
    const bool toPerson = report_.English();
    if (toPerson != notesKept_) {
        manager.KeepValueNotes(toPerson);
        notesKept_ = toPerson;
    }
    bool ran = false;
    try {
        const bool parsed = manager.Parse(line);
        // Ctrl-C while the line was read, where no check saw it, cancels the
        // line before it runs.
        if (TakeInterrupt()) return;
        if (parsed) {
            ran = ExecuteLine(manager, line);
        } else {
            ReportFailure(manager, manager.ParseDiagnostics(), line);
        }
    } catch (const CTextError& error) {
        lastResult_.Clear();
        lineFailed_ = true;
        report_.Fault(error.Text(), "a value could not take part in an operation or a conversion");
        if (report_.English()) {
            lineTokens_.Reset(line);
            WriteHints(manager, {});
        }
    }
    if (ran && toPerson) WriteNotes(manager, line);
}

bool CFrontEnd::ExecuteLine(CExpManager& manager, const std::string& line) {
    const bool executed = manager.Execute(lastResult_);
    // A value computed while Ctrl-C was pressed is dropped with the line.
    const bool interrupted = TakeInterrupt();
    if (executed && !interrupted) {
        // A line that ran ends a run of failed lines: their hints may be
        // told again. (Clearing an empty set would still clear its buckets.)
        if (!hintsTold_.empty()) hintsTold_.clear();
        if (!settings_.silent) WriteResult();
        return true;
    }
    lastResult_.Clear();
    ReportFailure(manager, manager.ExecDiagnostics(), line);
    return false;
}

// Only a line that ran has notes: on one that failed, its diagnostics are
// what matters.
void CFrontEnd::WriteNotes(const CExpManager& manager, const std::string& line) {
    if (manager.ValueNotes().All().empty() && !MayHoldWideLiteral(line)) return;
    lineTokens_.Reset(line);
    for (const std::string& note : LineNotes(lineTokens_, manager)) report_.Advice(note);
}

// An empty result (a declaration, a void call) is the design's empty line
// only where a program reads the piped results; a person, or whoever reads
// a script's output, gets no line for it.
void CFrontEnd::WriteResult() {
    std::string text = lastResult_.Format(settings_.radix, settings_.floatDigits);
    StartOnNewLine();
    if (text.empty() && !printsEmptyResults_) return;
    text += '\n';
    output_.ResultColour(text);
}

bool CFrontEnd::TakeInterrupt() {
    if (!atTerminal_ || !InterruptRequested()) return false;
    ClearInterrupt();
    // A read of gets or getchar that Ctrl-C ended left its mark on stdin; the
    // terminal showed "^C" where the cursor was. The line end goes where the
    // "^C" is, to the terminal, never into a redirected standard error.
    std::clearerr(stdin);
    output_.Plain("\n");
    return true;
}

void CFrontEnd::ReportFailure(const CExpManager& manager, std::span<const CExpDiag> diagnostics,
                              const std::string& line) {
    lineFailed_ = true;
    if (atTerminal_ && !settings_.silent) {
        StartOnNewLine();
        if (report_.ToPerson()) WriteCaretLine(line, diagnostics);
    }
    if (!report_.English()) {
        for (const CExpDiag& diagnostic : diagnostics) report_.Fault(FormatDiagnostic(diagnostic), {});
        return;
    }
    lineTokens_.Reset(line);
    for (const CExpDiag& diagnostic : diagnostics) {
        report_.Fault(FormatDiagnostic(diagnostic), EnglishMeaning(diagnostic, lineTokens_));
    }
    WriteHints(manager, diagnostics);
}

void CFrontEnd::WriteHints(const CExpManager& manager, std::span<const CExpDiag> diagnostics) {
    for (const Hint& hint : HabitHints(lineTokens_, diagnostics, manager)) {
        if (!hintsTold_.insert(hint.text).second) continue;
        report_.Advice("hint: " + hint.text, hint.lines);
    }
}

// The line's own output (printf("hi")) may have left the cursor inside a
// line, where a result or a caret line would not line up.
void CFrontEnd::StartOnNewLine() const {
    if (atTerminal_ && LineOutputEndsInsideLine()) {
        output_.Plain("\n");
        ForgetLineOutput();
    }
}

// Under the line as the terminal shows it, after the prompt.
void CFrontEnd::WriteCaretLine(const std::string& line, std::span<const CExpDiag> diagnostics) const {
    if (diagnostics.empty()) return;
    std::vector<size_t> positions;
    for (const CExpDiag& diagnostic : diagnostics) positions.push_back(static_cast<size_t>(diagnostic.position));
    const size_t promptWidth = settings_.prompt ? std::string_view(kPrompt).size() : 0;
    WriteErrorLine(CaretLine(line, promptWidth, positions));
}

int CFrontEnd::ExitStatus() const {
    return IsIntegerType(lastResult_.Type()) ? lastResult_.AsInt() : 0;
}
