#include "app/CReadlineReader.h"

#include <poll.h>
#include <readline/history.h>
#include <readline/readline.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "app/CConsoleCommands.h"
#include "app/CConsoleOutput.h"
#include "engine/manager/CExpManager.h"
#include "platform/Interrupt.h"
#include "platform/TerminationSignals.h"

namespace {

// Readline's callbacks are plain functions; they reach the one reader here.
CReadlineReader* activeReader = nullptr;

// Identifiers and "#" commands are the words completed; operators end them.
char wordBreaks[] = " \t\n\"'`@$<>=;|&{}()[]+-*/%!~^?:,.";

// While a line is read Ctrl-C is caught and SIGINT blocked; it is let
// through only inside ppoll, so an interrupt is never lost between two waits.
class InterruptGuard {
public:
    InterruptGuard() {
        sigset_t blocked;
        sigemptyset(&blocked);
        sigaddset(&blocked, SIGINT);
        sigprocmask(SIG_BLOCK, &blocked, &previousMask_);
        waitMask_ = previousMask_;
        sigdelset(&waitMask_, SIGINT);
    }
    ~InterruptGuard() { sigprocmask(SIG_SETMASK, &previousMask_, nullptr); }
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

    const sigset_t* WaitMask() const { return &waitMask_; }

private:
    const CInterruptCatcher catcher_;
    sigset_t previousMask_{};
    sigset_t waitMask_{};
};

// A function is always called, so its name comes with the "(" that follows.
void AddFunctionNames(const CExpManager& manager, std::vector<std::string>& words) {
    for (const auto& function : manager.Functions()) words.push_back(std::string(function->Name()) + "(");
}

void AddVariableNames(const CExpManager& manager, std::vector<std::string>& words) {
    for (const auto& declared : manager.Declarations()) words.emplace_back(declared->Name());
}

}  // namespace

CReadlineReader::CReadlineReader(const CConsoleOutput& output, const CExpManager& manager)
    : output_(output), manager_(manager), history_(HistoryPath()) {
    activeReader = this;
    rl_readline_name = "numora";
    rl_catch_signals = 0;
    rl_basic_word_break_characters = wordBreaks;
    rl_attempted_completion_function = Complete;
}

CReadlineReader::~CReadlineReader() {
    rl_attempted_completion_function = nullptr;
    activeReader = nullptr;
}

std::string CReadlineReader::MarkedPrompt(std::string_view prompt) const {
    if (prompt.empty() || !output_.Escapes()) return std::string(prompt);
    return "\001\x1b[32m\002" + std::string(prompt) + "\001\x1b[39m\002";
}

bool CReadlineReader::Read(std::string_view prompt, std::string& line) {
    if (!ReadyForLine(stdin)) return false;
    const InterruptGuard guard;
    ClearInterrupt();
    line_.reset();
    lineDone_ = false;
    const std::string marked = MarkedPrompt(prompt);
    rl_callback_handler_install(marked.c_str(), OnLine);
    while (!lineDone_) {
        pollfd input{fileno(rl_instream), POLLIN, 0};
        int ready = 0;
        {
            const CInputWait wait;
            ready = ppoll(&input, 1, nullptr, guard.WaitMask());
        }
        if (ready < 0) {
            if (errno != EINTR) break;
            if (InterruptRequested()) AbandonLine();
            continue;
        }
        rl_callback_read_char();
    }
    rl_callback_handler_remove();
    if (!line_) return false;
    if (!line_->empty()) add_history(line_->c_str());
    line = std::move(*line_);
    return true;
}

// Ctrl-C: drop what was typed and start afresh on a new line.
void CReadlineReader::AbandonLine() {
    ClearInterrupt();
    rl_free_line_state();
    rl_callback_sigcleanup();
    rl_replace_line("", 0);
    rl_crlf();
    rl_on_new_line();
    rl_redisplay();
}

void CReadlineReader::OnLine(char* line) {
    const std::unique_ptr<char, decltype(&std::free)> owned(line, &std::free);
    // Removing the handler here keeps readline from showing the prompt again.
    rl_callback_handler_remove();
    activeReader->lineDone_ = true;
    if (line != nullptr) activeReader->line_ = std::string(line);
}

std::vector<std::string> CReadlineReader::CompletionWords() const {
    std::vector<std::string> words = CConsoleCommands::Names();
    AddFunctionNames(manager_, words);
    AddVariableNames(manager_, words);
    return words;
}

char** CReadlineReader::Complete(const char* text, int, int) {
    rl_attempted_completion_over = 1;   // no file names
    char** matches = rl_completion_matches(text, NextMatch);
    // A completed function name is followed by its "(", not by a blank.
    const bool oneMatch = matches != nullptr && matches[1] == nullptr;
    if (oneMatch && matches[0][0] != '\0' && matches[0][std::strlen(matches[0]) - 1] == '(') {
        rl_completion_suppress_append = 1;
    }
    return matches;
}

char* CReadlineReader::NextMatch(const char* text, int state) {
    CReadlineReader& reader = *activeReader;
    if (state == 0) {
        reader.matches_.clear();
        reader.nextMatch_ = 0;
        const size_t length = std::strlen(text);
        for (std::string& word : reader.CompletionWords()) {
            if (word.compare(0, length, text) == 0) reader.matches_.push_back(std::move(word));
        }
    }
    if (reader.nextMatch_ >= reader.matches_.size()) return nullptr;
    // Readline frees the match with free().
    return strdup(reader.matches_[reader.nextMatch_++].c_str());
}
