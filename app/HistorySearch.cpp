#include "app/HistorySearch.h"

// readline.h declares rl_message with its arguments only where the C
// library's <stdarg.h> is said to be there.
#define HAVE_STDARG_H 1
#include <readline/history.h>
#include <readline/readline.h>

#include <string>
#include <string_view>

#include "app/CPasteWatch.h"
#include "app/KeyBindings.h"
#include "base/Interruption.h"

namespace {

constexpr int kEscape = 0x1b;
constexpr int kRubout = 0x7f;

constexpr int Control(char key) {
    return key & 0x1f;
}

bool (*keyWaiting)() = nullptr;

// The text of the last search that read one, for the searches again.
std::string lastText;
// The text before the cursor when a run of prefix or substring searches
// began, and where the cursor was.
std::string prefix;

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xc0) == 0x80;
}

void DropLastCharacter(std::string& text) {
    while (!text.empty() && IsContinuationByte(text.back())) text.pop_back();
    if (!text.empty()) text.pop_back();
}

void DropLastWord(std::string& text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    while (!text.empty() && text.back() != ' ') text.pop_back();
}

// Control characters are not shown in the search prompt, nor taken.
bool Printable(int key) {
    return key >= 0x20 && key != kRubout;
}

// A paste into the search text: its first line is taken, the rest of it is
// read and dropped. False when the keys after Escape are no paste; they are
// given back to readline.
bool TakePaste(std::string& text) {
    std::string keys;
    while (keys.size() + 1 < kPasteStart.size() && keyWaiting()) {
        const int key = rl_read_key();
        if (key < 0) return false;
        keys += static_cast<char>(key);
        if (!kPasteStart.substr(1).starts_with(keys)) break;
    }
    if (keys != kPasteStart.substr(1)) {
        for (const char key : keys) rl_stuff_char(static_cast<unsigned char>(key));
        return false;
    }
    CPasteWatch watch;
    watch.Reset(true);
    bool firstLine = true;
    std::string pasted;
    while (watch.Open()) {
        const int key = rl_read_key();
        if (key < 0) return false;
        watch.Note(static_cast<unsigned char>(key));
        if (key == '\r' || key == '\n') firstLine = false;
        if (firstLine && Printable(key)) pasted += static_cast<char>(key);
    }
    // The end sequence's first bytes were taken before it was known.
    if (pasted.size() >= kPasteEnd.size() - 1 && std::string_view(pasted).ends_with(kPasteEnd.substr(1))) {
        pasted.resize(pasted.size() - (kPasteEnd.size() - 1));
    }
    text += pasted;
    return true;
}

// Reads the text to search for, shown after prompt in place of the prompt
// and the line (readline's own way of showing a minibuffer); false when
// the search is given up: Ctrl-G, Ctrl-C, Escape, rubout on an empty text,
// the end of input.
bool ReadSearchText(char prompt, std::string& text) {
    text.clear();
    const std::string line(rl_line_buffer, static_cast<size_t>(rl_end));
    const int point = rl_point;
    rl_replace_line("", 0);
    bool taken = false;
    for (;;) {
        rl_message("%c%s", prompt, text.c_str());
        const int key = rl_read_key();
        if (key < 0 || InterruptRequested() || key == Control('G')) break;
        if (key == '\r' || key == '\n') {
            taken = true;
            break;
        }
        if (key == kEscape) {
            if (!keyWaiting() || !TakePaste(text)) break;
        } else if (key == kRubout || key == Control('H')) {
            if (text.empty()) break;
            DropLastCharacter(text);
        } else if (key == Control('U')) {
            text.clear();
        } else if (key == Control('W')) {
            DropLastWord(text);
        } else if (Printable(key)) {
            text += static_cast<char>(key);
        } else {
            rl_ding();
        }
    }
    rl_replace_line(line.c_str(), 0);
    rl_point = point;
    rl_clear_message();
    return taken;
}

// Whether a history line holds the text; a text beginning with "^" must
// begin the line.
bool Holds(std::string_view line, std::string_view text, size_t& at) {
    if (text.starts_with('^')) {
        at = 0;
        return line.starts_with(text.substr(1));
    }
    at = line.find(text);
    return at != std::string_view::npos;
}

// The history line after from in direction (-1: older, 1: newer) that holds
// text and differs from the line being edited; -1 if there is none. at is
// where the text is in it.
int Find(std::string_view text, int direction, int from, size_t& at) {
    HIST_ENTRY** entries = history_list();
    if (entries == nullptr) return -1;
    const std::string_view current(rl_line_buffer, static_cast<size_t>(rl_end));
    for (int position = from + direction; position >= 0 && position < history_length; position += direction) {
        const std::string_view line = entries[position]->line;
        if (line != current && Holds(line, text, at)) return position;
    }
    return -1;
}

// Makes the history line at position the line being edited, as the up and
// down keys would.
void MoveTo(int position) {
    const int current = where_history();
    if (position < current) rl_get_previous_history(current - position, 0);
    if (position > current) rl_get_next_history(position - current, 0);
}

// Searches count times (a negative count turns the direction); the cursor
// goes where place says for the text found at a position in the line.
template <typename Place>
int Search(std::string_view text, int direction, int count, Place place) {
    if (count < 0) {
        direction = -direction;
        count = -count;
    }
    int found = -1;
    size_t at = 0;
    for (int from = where_history(); count > 0; --count) {
        const int next = Find(text, direction, from, at);
        if (next < 0) break;
        found = from = next;
    }
    if (found < 0) {
        rl_ding();
        return 1;
    }
    MoveTo(found);
    rl_point = place(at);
    if (rl_point > rl_end) rl_point = rl_end;
    return 0;
}

int SearchText(std::string_view text, int direction, int count) {
    if (text.empty()) {
        rl_ding();
        return 1;
    }
    return Search(text, direction, count, [](size_t) { return 0; });
}

// An empty text searches again for the last one.
int ReadAndSearch(char prompt, int direction, int count) {
    std::string text;
    if (!ReadSearchText(prompt, text)) return 1;
    if (!text.empty()) lastText = text;
    return SearchText(lastText, direction, count);
}

int SearchBackward(int count, int key) {
    return ReadAndSearch(key == '/' ? '/' : ':', -1, count);
}

int SearchForward(int count, int key) {
    return ReadAndSearch(key == '?' ? '?' : ':', 1, count);
}

int SearchAgainBackward(int count, int) {
    return SearchText(lastText, -1, count);
}

int SearchAgainForward(int count, int) {
    return SearchText(lastText, 1, count);
}

// vi: "/" searches older lines, "?" newer ones; "n" again older, "N" newer.
int ViSearch(int count, int key) {
    return key == '?' ? SearchForward(count, key) : SearchBackward(count, '/');
}

int ViSearchAgain(int count, int key) {
    return key == 'N' ? SearchAgainForward(count, key) : SearchAgainBackward(count, key);
}

int PrefixSearchBackward(int count, int key);
int PrefixSearchForward(int count, int key);
int SubstringSearchBackward(int count, int key);
int SubstringSearchForward(int count, int key);

bool ContinuesPrefixSearch() {
    return rl_last_func == PrefixSearchBackward || rl_last_func == PrefixSearchForward ||
           rl_last_func == SubstringSearchBackward || rl_last_func == SubstringSearchForward;
}

// The text before the cursor, taken when a run of these searches begins.
int SearchBeforeCursor(bool anchored, int direction, int count) {
    if (!ContinuesPrefixSearch()) prefix.assign(rl_line_buffer, static_cast<size_t>(rl_point));
    if (!anchored) {
        return Search(prefix, direction, count, [](size_t at) { return static_cast<int>(at + prefix.size()); });
    }
    return Search("^" + prefix, direction, count, [](size_t) { return static_cast<int>(prefix.size()); });
}

int PrefixSearchBackward(int count, int) {
    return SearchBeforeCursor(true, -1, count);
}

int PrefixSearchForward(int count, int) {
    return SearchBeforeCursor(true, 1, count);
}

int SubstringSearchBackward(int count, int) {
    return SearchBeforeCursor(false, -1, count);
}

int SubstringSearchForward(int count, int) {
    return SearchBeforeCursor(false, 1, count);
}

struct Replacement {
    rl_command_func_t* readlines;
    rl_command_func_t* ours;
};

const Replacement kReplacements[] = {
    {rl_noninc_reverse_search, SearchBackward},
    {rl_noninc_forward_search, SearchForward},
    {rl_noninc_reverse_search_again, SearchAgainBackward},
    {rl_noninc_forward_search_again, SearchAgainForward},
    {rl_vi_search, ViSearch},
    {rl_vi_search_again, ViSearchAgain},
    {rl_history_search_backward, PrefixSearchBackward},
    {rl_history_search_forward, PrefixSearchForward},
    {rl_history_substr_search_backward, SubstringSearchBackward},
    {rl_history_substr_search_forward, SubstringSearchForward},
};

}  // namespace

void TakeOverHistorySearches(bool (*waiting)()) {
    keyWaiting = waiting;
    for (const Replacement& replacement : kReplacements) Rebind(replacement.readlines, replacement.ours);
}
