#include "app/CReadlineReader.h"

#include <poll.h>
#include <readline/history.h>
#include <readline/readline.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <memory>

#include "app/CConsoleCommands.h"
#include "app/CConsoleOutput.h"
#include "app/HistorySearch.h"
#include "app/KeyBindings.h"
#include "app/ViGuards.h"
#include "engine/lexer/Keywords.h"
#include "engine/manager/CExpManager.h"
#include "platform/Interrupt.h"
#include "platform/JobControl.h"
#include "platform/Terminal.h"
#include "platform/TerminationSignals.h"
#include "platform/TypedInput.h"
#include "value/TypeCode.h"

// While a line is edited Ctrl-C, Ctrl-Z, SIGCONT and a resized window are
// caught and blocked; they are let through only inside the wait for a key,
// so none is lost between two waits and readline is never entered from a
// signal handler.
class CPromptSignals {
public:
    CPromptSignals() {
        sigset_t blocked;
        sigemptyset(&blocked);
        for (const int signal : kSignals) sigaddset(&blocked, signal);
        sigprocmask(SIG_BLOCK, &blocked, &previousMask_);
        waitMask_ = previousMask_;
        for (const int signal : kSignals) sigdelset(&waitMask_, signal);
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
        bool any = false;
        for (const int signal : kSignals) any = any || sigismember(&pending, signal) == 1;
        if (!any) return;
        sigset_t blocked;
        sigprocmask(SIG_SETMASK, &waitMask_, &blocked);
        sigprocmask(SIG_SETMASK, &blocked, nullptr);
    }

private:
    static constexpr int kSignals[] = {SIGINT, SIGTSTP, SIGCONT, SIGWINCH};

    const CInterruptCatcher interrupt_;
    const CStopCatcher stop_;
    const CResizeCatcher resize_;
    sigset_t previousMask_{};
    sigset_t waitMask_{};
};

namespace {

// Readline's callbacks are plain functions; they reach the one reader here.
CReadlineReader* activeReader = nullptr;

// Identifiers and "#" commands are the words completed; operators end them.
char wordBreaks[] = " \t\n\"'`@$<>=;|&{}()[]+-*/%!~^?:,.";

// The key that aborts a command (Ctrl-G).
constexpr int kAbortKey = 0x07;

// Readline waits for the answer to a completion's question ("Display all
// …?") or for a key at its --More--.
bool AtCompletionQuestion() {
    return RL_ISSTATE(RL_STATE_COMPLETING) && RL_ISSTATE(RL_STATE_MOREINPUT);
}

// A paste that Ctrl-C abandoned is taken to be over when nothing more of it
// came for this long, though its end sequence did not come (the terminal
// always sends one, a program writing to the terminal may not).
constexpr int kPasteQuietMilliseconds = 300;

const std::string kPasteStartKeys(kPasteStart);
const std::string kPasteEndKeys(kPasteEnd);

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

// Tells readline the window's size. With a single row readline scrolls the
// line sideways by a third of the width, and divides by that third: a window
// of two columns or one is taken as 80 wide, as readline itself takes one of
// a single column.
void FitScreenToWindow() {
    int rows = 0;
    int columns = 0;
    if (!WindowSize(fileno(rl_instream), rows, columns) || rows <= 0 || columns <= 0) return;
    rl_set_screen_size(rows, columns < 3 ? 80 : columns);
}

// Readline's character searches (Ctrl-], vi's "f" and "t") take the line
// for a C string and go round for ever before a zero byte, which vi's
// insert mode and quoted insert put in; the line given back ends at one
// anyway. Zero bytes are taken out of the line as they come.
void DropZeroBytes() {
    for (int at = rl_end - 1; at >= 0; --at) {
        if (rl_line_buffer[at] != '\0') continue;
        rl_delete_text(at, at + 1);
        if (rl_point > at) --rl_point;
        if (rl_mark > at) --rl_mark;
    }
}

// Where the run of ASCII bytes that starts at from ends. The line is
// checked after every key, so a line of a hundred thousand keys typed
// without a bracketed paste is passed eight bytes at a time.
size_t EndOfAsciiRun(std::string_view text, size_t from) {
    constexpr uint64_t kHighBits = 0x8080808080808080u;
    size_t at = from;
    for (uint64_t eight = 0; at + sizeof eight <= text.size(); at += sizeof eight) {
        std::memcpy(&eight, text.data() + at, sizeof eight);
        if ((eight & kHighBits) != 0) break;
    }
    while (at < text.size() && static_cast<unsigned char>(text[at]) < 0x80) ++at;
    return at;
}

// Whether readline can edit text a character at a time: whole characters
// of the locale's encoding, each taking room on the screen. Readline's
// character motions go back and forth for ever, where Ctrl-C cannot reach
// them, over bytes that are not (ED A0 80 in UTF-8), and in vi's command
// mode over a character that takes no room (a combining or an unassigned
// one) at the end of the line (vi's word motions and completion).
bool IsEditableByCharacters(std::string_view text) {
    if (MB_CUR_MAX == 1) return true;
    std::mbstate_t state{};
    for (size_t at = 0; at < text.size();) {
        if (std::mbsinit(&state) != 0) {
            at = EndOfAsciiRun(text, at);
            if (at == text.size()) break;
        }
        wchar_t character = 0;
        const size_t length = std::mbrtowc(&character, text.data() + at, text.size() - at, &state);
        if (length == static_cast<size_t>(-1) || length == static_cast<size_t>(-2)) return false;
        if (length != 0 && wcwidth(character) < 1) return false;
        at += length == 0 ? 1 : length;
    }
    return true;
}

}  // namespace

CReadlineReader::CReadlineReader(const CConsoleOutput& output, const CExpManager& manager)
    : output_(output), manager_(manager), history_(HistoryPath()), keys_(STDIN_FILENO) {
    activeReader = this;
    ShareTypedInput();
    rl_readline_name = "numora";
    rl_catch_signals = 0;
    rl_catch_sigwinch = 0;
    rl_getc_function = GetKey;
    rl_startup_hook = StartLine;
    rl_basic_word_break_characters = wordBreaks;
    rl_attempted_completion_function = Complete;
    // The start-up files are read first, so the user's own bindings for
    // these keys, made there, are replaced.
    rl_initialize();
    // Set after the terminal was set up: readline takes a terminal whose
    // program draws the line itself for one without capabilities.
    rl_redisplay_function = Redisplay;
    BindKeys();
}

void CReadlineReader::BindKeys() {
    for (const Keymap map : EditingKeymaps) {
        rl_bind_keyseq_in_map(kPasteStartKeys.c_str(), Paste, map);
        // The end of a paste that Ctrl-C abandoned may come at the next prompt.
        rl_bind_keyseq_in_map(kPasteEndKeys.c_str(), IgnorePasteEnd, map);
    }
    Rebind(rl_re_read_init_file, ReReadInitFile);
    // A "~" in a line is bitwise not, never a home directory; looking a user
    // up from a program linked whole loads name-service modules that fault.
    Rebind(rl_tilde_expand, RingBell);
    Rebind(rl_vi_tilde_expand, RingBell);
    TakeOverHistorySearches(KeyWaiting);
    GuardViOperators();
    // A recalled line that was changed and not entered goes back to what was
    // entered, as the history file keeps it, when a line is entered: no undo
    // list stays in a history entry, where dropping the oldest entry (the
    // history keeps a thousand lines) or clearing the history would lose it.
    rl_variable_bind("revert-all-at-newline", "on");
}

// The init file read again (Ctrl-X Ctrl-R) binds readline's own again.
int CReadlineReader::ReReadInitFile(int count, int key) {
    const int status = rl_re_read_init_file(count, key);
    BindKeys();
    return status;
}

int CReadlineReader::IgnorePasteEnd(int, int) {
    return 0;
}

int CReadlineReader::RingBell(int, int) {
    return rl_ding();
}

CReadlineReader::~CReadlineReader() {
    rl_attempted_completion_function = nullptr;
    rl_startup_hook = nullptr;
    rl_getc_function = rl_getc;
    rl_redisplay_function = rl_redisplay;
    activeReader = nullptr;
}

// No prompt is given to readline as an empty stretch of invisible
// characters: readline 8.2 takes an empty prompt for none saved, saves it
// again when a count is typed or a message shown, and loses what it saved.
std::string CReadlineReader::MarkedPrompt(std::string_view prompt) const {
    if (prompt.empty()) return "\001\002";
    if (!output_.Escapes()) return std::string(prompt);
    return "\001\x1b[32m\002" + std::string(prompt) + "\001\x1b[39m\002";
}

bool CReadlineReader::Read(std::string_view prompt, std::string& line) {
    WaitForForeground(STDIN_FILENO);
    DropRestOfTypedLine();
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
            const char* byteOriented = rl_variable_value("byte-oriented");
            byteOrientedByUser_ = byteOriented != nullptr && std::strcmp(byteOriented, "on") == 0;
            byteOriented_ = byteOrientedByUser_;
            // Also after a line that ran while the window changed.
            FitScreenToWindow();
            typed.reset(readline(marked.c_str()));
            EditByBytes(byteOrientedByUser_);
            signals_ = nullptr;
        }
        // Ctrl-C: what was typed is dropped, and the prompt comes again.
        if (InterruptRequested()) continue;
        if (!typed) return false;
        line = typed.get();
        return true;
    }
}

// Readline asks for each key here. A line that readline cannot edit a
// character at a time is edited byte by byte from the next key on
// (KeepLineSafe).
int CReadlineReader::GetKey(FILE* stream) {
    CReadlineReader& reader = *activeReader;
    int key = reader.NextKey(fileno(stream));
    // Ctrl-G at a completion's question or its --More-- leaves them through
    // a long jump that loses the matches: it is taken as no.
    if (key == kAbortKey && AtCompletionQuestion()) key = 'n';
    if (key >= 0) reader.paste_.Note(static_cast<unsigned char>(key));
    reader.KeepLineSafe();
    return key;
}

// After each command, before the next one runs: a key given back to
// readline (the rest of a key sequence) reaches the next command without
// GetKey.
void CReadlineReader::Redisplay() {
    activeReader->KeepLineSafe();
    rl_redisplay();
}

void CReadlineReader::KeepLineSafe() {
    if (std::memchr(rl_line_buffer, '\0', static_cast<size_t>(rl_end)) != nullptr) DropZeroBytes();
    const bool byCharacters = IsEditableByCharacters(std::string_view(rl_line_buffer, static_cast<size_t>(rl_end)));
    EditByBytes(byteOrientedByUser_ || !byCharacters);
}

void CReadlineReader::EditByBytes(bool byBytes) {
    if (byBytes == byteOriented_) return;
    rl_variable_bind("byte-oriented", byBytes ? "on" : "off");
    byteOriented_ = byBytes;
}

// Ctrl-C makes readline give up the line, Ctrl-Z and SIGCONT are followed
// (FollowJobControl); a resized window is redrawn at once.
int CReadlineReader::NextKey(int fd) {
    for (;;) {
        if (!queuedKeys_.empty()) {
            const unsigned char key = static_cast<unsigned char>(queuedKeys_.front());
            queuedKeys_.erase(0, 1);
            return key;
        }
        if (InterruptRequested()) return KeyAfterInterrupt();
        if (!keysAfterInterrupt_.empty()) {
            const unsigned char key = static_cast<unsigned char>(keysAfterInterrupt_.front());
            keysAfterInterrupt_.erase(0, 1);
            return key;
        }
        if (FollowJobControl(fd)) continue;
        if (TakeResized()) {
            FitScreenToWindow();
            rl_forced_update_display();
        }
        if (!WaitForKey(fd)) {
            // The end of input for readline: the run ends.
            if (PendingTerminationSignal() != 0) return EOF;
            continue;
        }
        // Ctrl-C between the wait and the read empties the terminal's queue:
        // the read does not wait, and the wait begins again.
        unsigned char key = 0;
        const ssize_t count = ::read(keys_.Descriptor(), &key, 1);
        if (count == 0) return EOF;
        if (count < 0) {
            if (errno != EINTR && errno != EAGAIN) return READERR;
            continue;
        }
        // A key that came after a Ctrl-C not yet taken is the next line's.
        signals_->TakePending();
        if (InterruptRequested()) {
            keysAfterInterrupt_ += static_cast<char>(key);
            continue;
        }
        if (abandonedPaste_.Open()) {
            abandonedPaste_.Note(key);
            continue;
        }
        return key;
    }
}

int CReadlineReader::KeyAfterInterrupt() {
    // A completion's question ("Display all …?") takes no Enter, and
    // readline would leave it through a long jump that loses its matches: it
    // is answered no, once, and the key after ends the line.
    if (AtCompletionQuestion() && !declinedQuestion_) {
        declinedQuestion_ = true;
        return 'n';
    }
    // Readline reads a paste to its end sequence, whatever it is given: it
    // gets the end sequence, and the rest of the paste is dropped as it comes.
    if (paste_.Open()) {
        queuedKeys_ = kPasteEndKeys;
        abandonedPaste_.Reset(true);
        interruptsAtAbandon_ = InterruptCount();
        // Keys read after Ctrl-C came are the paste's too, up to its end.
        size_t taken = 0;
        while (taken < keysAfterInterrupt_.size() && abandonedPaste_.Open()) {
            abandonedPaste_.Note(static_cast<unsigned char>(keysAfterInterrupt_[taken++]));
        }
        keysAfterInterrupt_.erase(0, taken);
        return NextKey(fileno(rl_instream));
    }
    // Enter, until readline returns what it holds: whatever state it is in
    // (a search, a key sequence begun) ends without a long jump, and the
    // screen keeps the abandoned line with the cursor below.
    return '\n';
}

bool CReadlineReader::WaitForKey(int fd) {
    // Ctrl-C again, or a pause: no more of the abandoned paste is coming.
    if (abandonedPaste_.Open() && InterruptCount() != interruptsAtAbandon_) abandonedPaste_.Reset(false);
    const bool dropping = abandonedPaste_.Open();
    const timespec quiet{0, kPasteQuietMilliseconds * 1000000L};
    pollfd input{fd, POLLIN, 0};
    int ready = 0;
    {
        // A termination signal that came while readline was busy was kept
        // for now; one that comes from here on ends the run itself.
        const CInputWait wait;
        if (PendingTerminationSignal() != 0) return false;
        ready = ppoll(&input, 1, dropping ? &quiet : nullptr, signals_->WaitMask());
    }
    if (ready == 0 && dropping) abandonedPaste_.Reset(false);
    if (ready <= 0) return false;
    signals_->TakePending();
    return !InterruptRequested() && !JobControlPending();
}

bool CReadlineReader::KeyWaiting() {
    if (!activeReader->queuedKeys_.empty()) return true;
    pollfd input{fileno(rl_instream), POLLIN, 0};
    return poll(&input, 1, 0) == 1;
}

// Ctrl-Z: the terminal is given back as it was before the line was edited
// (bracketed paste off) while the program is stopped. After a stop of any
// kind (SIGSTOP too, while the shell may have set the modes its own way)
// line editing's modes are set again, once the program is in the
// foreground, and the prompt and the line typed so far are drawn again.
// Continued in the background (bg), the prompt waits stopped until it is
// brought back (fg): the modes it would keep to give back later would be
// those of the shell's own prompt.
bool CReadlineReader::FollowJobControl(int fd) {
    if (StopRequested()) {
        rl_deprep_terminal();
        StopUntilContinued();
        WaitForForeground(fd);
    } else if (TakeContinued()) {
        WaitForForeground(fd);
        rl_deprep_terminal();
    } else {
        return false;
    }
    rl_prep_terminal(1);
    rl_forced_update_display();
    return true;
}

// Bound to the start of a paste: the text is taken as readline takes it, and
// when it holds a line end its lines are entered one by one. A paste that
// Ctrl-C ended is dropped with the line.
int CReadlineReader::Paste(int count, int key) {
    const int status = rl_bracketed_paste_begin(count, key);
    if (!InterruptRequested() && HoldsLineEnd(std::string_view(rl_line_buffer, static_cast<size_t>(rl_end)))) {
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

// Each line begins with the text after a paste's last line end, if any.
int CReadlineReader::StartLine() {
    StartViLine();
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
