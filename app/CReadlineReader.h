#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/CHistoryFile.h"
#include "app/CLineReader.h"
#include "app/CPasteWatch.h"
#include "platform/Terminal.h"

class CPromptSignals;

// Line editing at a terminal with GNU readline: history kept across runs,
// tab completion of console commands, type words, built-ins and user
// functions (with their "("), and variables; Ctrl-C abandons the line being
// typed, Ctrl-Z gives the terminal back while the program is stopped, and a
// pasted text runs line by line as if each line were typed.
//
// readline() is called, not its callback interface: on a key sequence such
// as Ctrl-R Ctrl-X x (a search ended by a prefix key) the callback interface
// of the shared library dereferences its key-sequence context after it has
// disposed of it, a null pointer, and the program faults. The keys are read
// here (GetKey), which is where Ctrl-C and Ctrl-Z are noticed, outside any
// signal handler, while readline waits.
//
// Readline 8.2, the version of the distributions this is built on, has
// faults of its own that a key sequence reaches (8.3 mends some); the reader
// keeps off them: its non-incremental history searches are replaced
// (HistorySearch), vi operators are refused inside an operator (ViGuards), a
// paste is ended before readline is made to give up a line, Ctrl-G at a
// completion's question is taken as no, a line that is not whole characters
// of the locale's encoding taking room on the screen is edited byte by byte
// and zero bytes are taken out of it, recalled lines go back to what was entered (no undo list stays
// in the history), tilde expansion is refused, a window narrower than three
// columns is given to readline as 80 wide, and its prompt is never empty.
class CReadlineReader final : public CLineReader {
public:
    CReadlineReader(const CConsoleOutput& output, const CExpManager& manager);
    ~CReadlineReader() override;
    CReadlineReader(const CReadlineReader&) = delete;
    CReadlineReader& operator=(const CReadlineReader&) = delete;

    bool Read(std::string_view prompt, std::string& line) override;

private:
    // The prompt with its colour; readline must be told (\001 \002) which
    // bytes take no room on the screen. Never empty.
    std::string MarkedPrompt(std::string_view prompt) const;
    // Reads a line with readline; false at the end of input. A line that
    // Ctrl-C abandoned is not returned: the prompt comes again.
    bool Edit(std::string_view prompt, std::string& line);
    // The next complete line of a paste, shown after the prompt as if typed.
    bool TakePastedLine(std::string_view prompt, std::string& line);
    // Splits the editing buffer after a paste: its first line is entered at
    // once, the other complete ones wait for the next reads, and the text
    // after the last line end is edited at the next prompt.
    void EnterPastedLines();
    // Binds the keys the reader handles itself, over the init file's.
    static void BindKeys();
    // The next key for readline, from the keys queued or the terminal.
    int NextKey(int fd);
    // What readline is given once Ctrl-C was pressed, until it returns.
    int KeyAfterInterrupt();
    // Waits for a key on fd; false when the wait ended otherwise (a signal,
    // or the quiet that ends the dropping of an abandoned paste).
    bool WaitForKey(int fd);
    // True when Ctrl-Z or a SIGCONT was dealt with.
    bool FollowJobControl(int fd);
    void EditByBytes(bool byBytes);
    std::vector<std::string> CompletionWords() const;

    // Keeps readline off its faults on what the line holds: zero bytes
    // taken out, and byte by byte editing while it holds what readline
    // cannot edit a character at a time.
    void KeepLineSafe();

    static int GetKey(FILE* stream);
    static void Redisplay();
    static bool KeyWaiting();
    static int Paste(int count, int key);
    static int IgnorePasteEnd(int count, int key);
    static int RingBell(int count, int key);
    static int ReReadInitFile(int count, int key);
    static int StartLine();
    static char** Complete(const char* text, int start, int end);
    static char* NextMatch(const char* text, int state);

    const CConsoleOutput& output_;
    const CExpManager& manager_;
    CHistoryFile history_;
    // Alive while readline waits for keys.
    const CPromptSignals* signals_ = nullptr;
    std::deque<std::string> pastedLines_;
    std::string unfinishedPaste_;
    // Ctrl-C drops the rest of a paste, as it drops typed-ahead lines.
    int interruptsAtPaste_ = 0;
    // The keys given to readline, to know when it is reading a paste.
    CPasteWatch paste_;
    // Where the keys are read without waiting, once a wait found one.
    const CNonBlockingTerminal keys_;
    // Keys for readline before the terminal's: the end of a paste that
    // Ctrl-C abandoned.
    std::string queuedKeys_;
    // Keys read after a Ctrl-C that readline was not told of yet, for the
    // next line.
    std::string keysAfterInterrupt_;
    // The rest of an abandoned paste, still arriving, is dropped up to its
    // end sequence, until the input pauses or Ctrl-C is pressed again.
    CPasteWatch abandonedPaste_;
    int interruptsAtAbandon_ = 0;
    // Readline's byte-oriented setting: the user's, and the one in force.
    bool byteOrientedByUser_ = false;
    bool byteOriented_ = false;
    // Ctrl-C answered a completion's question.
    bool declinedQuestion_ = false;
    std::vector<std::string> matches_;
    size_t nextMatch_ = 0;
};
