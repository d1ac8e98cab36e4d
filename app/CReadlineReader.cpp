#include "app/CReadlineReader.h"

#include <poll.h>
#include <readline/history.h>
#include <readline/readline.h>
#include <stdio_ext.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>

#include "app/CConsoleCommands.h"
#include "app/CConsoleOutput.h"
#include "engine/lexer/Keywords.h"
#include "engine/manager/CExpManager.h"
#include "platform/Interrupt.h"
#include "platform/JobControl.h"
#include "platform/TerminationSignals.h"
#include "value/TypeCode.h"

// While a line is edited Ctrl-C, Ctrl-Z and SIGCONT are caught and blocked;
// they are let through only inside the wait for a key, so none is lost
// between two waits and readline is never entered from a signal handler.
class CPromptSignals {
public:
    CPromptSignals() {
        sigset_t blocked;
        sigemptyset(&blocked);
        sigaddset(&blocked, SIGINT);
        sigaddset(&blocked, SIGTSTP);
        sigaddset(&blocked, SIGCONT);
        sigprocmask(SIG_BLOCK, &blocked, &previousMask_);
        waitMask_ = previousMask_;
        sigdelset(&waitMask_, SIGINT);
        sigdelset(&waitMask_, SIGTSTP);
        sigdelset(&waitMask_, SIGCONT);
    }
    ~CPromptSignals() { sigprocmask(SIG_SETMASK, &previousMask_, nullptr); }
    CPromptSignals(const CPromptSignals&) = delete;
    CPromptSignals& operator=(const CPromptSignals&) = delete;

    const sigset_t* WaitMask() const { return &waitMask_; }

    // A wait that finds a key ready returns with the signals that came
    // meanwhile still pending (blocked again): they are taken now, so a
    // Ctrl-C typed before more keys is seen before those keys are.
    void TakePending() const {
        sigset_t pending;
        sigemptyset(&pending);
        if (sigpending(&pending) != 0) return;
        if (!sigismember(&pending, SIGINT) && !sigismember(&pending, SIGTSTP) &&
            !sigismember(&pending, SIGCONT)) {
            return;
        }
        sigset_t blocked;
        sigprocmask(SIG_SETMASK, &waitMask_, &blocked);
        sigprocmask(SIG_SETMASK, &blocked, nullptr);
    }

private:
    const CInterruptCatcher interrupt_;
    const CStopCatcher stop_;
    sigset_t previousMask_{};
    sigset_t waitMask_{};
};

namespace {

// Readline's callbacks are plain functions; they reach the one reader here.
CReadlineReader* activeReader = nullptr;

// Identifiers and "#" commands are the words completed; operators end them.
char wordBreaks[] = " \t\n\"'`@$<>=;|&{}()[]+-*/%!~^?:,.";

// The key sequence a terminal sends before a pasted text.
constexpr const char* kPasteStart = "\x1b[200~";

struct FreeLine {
    void operator()(char* line) const { std::free(line); }
};

// A function is always called, so its name comes with the "(" that follows.
void AddFunctionNames(const CExpManager& manager, std::vector<std::string>& words) {
    for (const auto& function : manager.Functions()) words.push_back(std::string(function->Name()) + "(");
}

void AddVariableNames(const CExpManager& manager, std::vector<std::string>& words) {
    for (const auto& declared : manager.Declarations()) words.emplace_back(declared->Name());
}

// The words that declare a variable of each type (fractions have none).
void AddTypeWords(std::vector<std::string>& words) {
    for (uint32_t code = VTYPE_CHAR; code <= VTYPE_STRING; ++code) {
        if (std::string word = TypeNameOf(static_cast<int>(code)); !word.empty()) words.push_back(std::move(word));
    }
}

// The lines of text: a line feed, a carriage return, or both together end
// one. The last element is what follows the last line end (maybe nothing).
std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') {
            lines.back() += text[i];
            continue;
        }
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        lines.emplace_back();
    }
    return lines;
}

bool HoldsLineEnd(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// What a built-in (getchar, gets) read from the terminal belongs to the line
// that asked for it: the rest of that typed line is not left for a later
// line to find.
void DropUnreadTypedInput() {
    __fpurge(stdin);
}

}  // namespace

CReadlineReader::CReadlineReader(const CConsoleOutput& output, const CExpManager& manager)
    : output_(output), manager_(manager), history_(HistoryPath()) {
    activeReader = this;
    rl_readline_name = "numora";
    rl_catch_signals = 0;
    rl_getc_function = GetKey;
    rl_startup_hook = InsertUnfinishedPaste;
    rl_basic_word_break_characters = wordBreaks;
    rl_attempted_completion_function = Complete;
    // Binding the paste's start sequence reads the start-up files first, so
    // a user's own binding for it, made there, is replaced.
    rl_initialize();
    rl_bind_keyseq_in_map(kPasteStart, Paste, emacs_standard_keymap);
    rl_bind_keyseq_in_map(kPasteStart, Paste, vi_insertion_keymap);
    rl_bind_keyseq_in_map(kPasteStart, Paste, vi_movement_keymap);
}

CReadlineReader::~CReadlineReader() {
    rl_attempted_completion_function = nullptr;
    rl_startup_hook = nullptr;
    rl_getc_function = rl_getc;
    activeReader = nullptr;
}

std::string CReadlineReader::MarkedPrompt(std::string_view prompt) const {
    if (prompt.empty() || !output_.Escapes()) return std::string(prompt);
    return "\001\x1b[32m\002" + std::string(prompt) + "\001\x1b[39m\002";
}

bool CReadlineReader::Read(std::string_view prompt, std::string& line) {
    DropUnreadTypedInput();
    if (!ReadyForLine(stdin)) return false;
    if (InterruptCount() != interruptsAtPaste_) {
        pastedLines_.clear();
        unfinishedPaste_.clear();
    }
    if (!TakePastedLine(prompt, line) && !Edit(prompt, line)) return false;
    if (!line.empty()) history_.Add(line);
    return true;
}

bool CReadlineReader::TakePastedLine(std::string_view prompt, std::string& line) {
    if (pastedLines_.empty()) return false;
    line = std::move(pastedLines_.front());
    pastedLines_.pop_front();
    if (!prompt.empty()) output_.PromptColour(prompt);
    output_.Plain(line + "\n");
    return true;
}

bool CReadlineReader::Edit(std::string_view prompt, std::string& line) {
    const std::string marked = MarkedPrompt(prompt);
    for (;;) {
        std::unique_ptr<char, FreeLine> typed;
        {
            const CPromptSignals signals;
            signals_ = &signals;
            ClearInterrupt();
            declinedQuestion_ = false;
            typed.reset(readline(marked.c_str()));
            signals_ = nullptr;
        }
        // Ctrl-C: what was typed is dropped, and the prompt comes again.
        if (InterruptRequested()) continue;
        if (!typed) return false;
        line = typed.get();
        return true;
    }
}

// Readline asks for each key here. Ctrl-C makes readline give up the line,
// Ctrl-Z and SIGCONT are followed (FollowJobControl); a resized window is
// redrawn at once.
int CReadlineReader::GetKey(FILE* stream) {
    CReadlineReader& reader = *activeReader;
    const int fd = fileno(stream);
    for (;;) {
        if (InterruptRequested()) {
            // A completion's question ("Display all …?") takes no Enter, and
            // readline would leave it through a long jump that loses its
            // matches: it is answered no, once, and the key after ends the
            // line.
            const bool question = RL_ISSTATE(RL_STATE_COMPLETING) && RL_ISSTATE(RL_STATE_MOREINPUT);
            if (question && !reader.declinedQuestion_) {
                reader.declinedQuestion_ = true;
                return 'n';
            }
            // Enter, until readline returns what it holds: whatever state it
            // is in (a search, a key sequence begun) ends without a long jump,
            // and the screen keeps the abandoned line with the cursor below.
            return '\n';
        }
        if (reader.FollowJobControl()) continue;
        if (rl_pending_signal() != 0) rl_check_signals();
        pollfd input{fd, POLLIN, 0};
        int ready = 0;
        {
            const CInputWait wait;
            ready = ppoll(&input, 1, nullptr, reader.signals_->WaitMask());
        }
        if (ready < 0) {
            if (errno == EINTR) continue;
            return READERR;
        }
        reader.signals_->TakePending();
        if (InterruptRequested() || reader.FollowJobControl()) continue;
        unsigned char key = 0;
        const ssize_t count = ::read(fd, &key, 1);
        if (count == 1) return key;
        if (count == 0) return EOF;
        if (errno != EINTR && errno != EAGAIN) return READERR;
    }
}

// Ctrl-Z: the terminal is given back as it was before the line was edited
// (bracketed paste off) while the program is stopped. After a stop of any
// kind (SIGSTOP too, while the shell may have set the modes its own way)
// line editing's modes are set again, and the prompt and the line typed so
// far are drawn again.
bool CReadlineReader::FollowJobControl() {
    if (StopRequested()) {
        rl_deprep_terminal();
        StopUntilContinued();
    } else if (TakeContinued()) {
        rl_deprep_terminal();
    } else {
        return false;
    }
    rl_prep_terminal(1);
    rl_forced_update_display();
    return true;
}

// Bound to the start of a paste: the text is taken as readline takes it, and
// when it holds a line end its lines are entered one by one.
int CReadlineReader::Paste(int count, int key) {
    const int status = rl_bracketed_paste_begin(count, key);
    if (HoldsLineEnd(std::string_view(rl_line_buffer, static_cast<size_t>(rl_end)))) {
        activeReader->EnterPastedLines();
    }
    return status;
}

void CReadlineReader::EnterPastedLines() {
    std::vector<std::string> lines = SplitLines(std::string_view(rl_line_buffer, static_cast<size_t>(rl_end)));
    unfinishedPaste_ = std::move(lines.back());
    pastedLines_.assign(std::make_move_iterator(lines.begin() + 1), std::make_move_iterator(lines.end() - 1));
    interruptsAtPaste_ = InterruptCount();
    // The screen shows the first line alone, as if it was typed and entered.
    rl_replace_line(lines.front().c_str(), 0);
    rl_point = rl_end;
    rl_deactivate_mark();
    rl_redisplay();
    rl_newline(1, '\n');
}

int CReadlineReader::InsertUnfinishedPaste() {
    CReadlineReader& reader = *activeReader;
    if (!reader.unfinishedPaste_.empty() && reader.pastedLines_.empty()) {
        rl_insert_text(reader.unfinishedPaste_.c_str());
        reader.unfinishedPaste_.clear();
    }
    return 0;
}

std::vector<std::string> CReadlineReader::CompletionWords() const {
    std::vector<std::string> words = CConsoleCommands::Names();
    AddTypeWords(words);
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
