#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/CHistoryFile.h"
#include "app/CLineReader.h"

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
class CReadlineReader final : public CLineReader {
public:
    CReadlineReader(const CConsoleOutput& output, const CExpManager& manager);
    ~CReadlineReader() override;
    CReadlineReader(const CReadlineReader&) = delete;
    CReadlineReader& operator=(const CReadlineReader&) = delete;

    bool Read(std::string_view prompt, std::string& line) override;

private:
    // The prompt with its colour; readline must be told (\001 \002) which
    // bytes take no room on the screen.
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
    // True when Ctrl-Z or a SIGCONT was dealt with.
    bool FollowJobControl();
    std::vector<std::string> CompletionWords() const;

    static int GetKey(FILE* stream);
    static int Paste(int count, int key);
    static int InsertUnfinishedPaste();
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
    // Ctrl-C answered a completion's question.
    bool declinedQuestion_ = false;
    std::vector<std::string> matches_;
    size_t nextMatch_ = 0;
};
