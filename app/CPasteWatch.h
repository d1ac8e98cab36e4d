#pragma once

#include <string>
#include <string_view>

// The keys a terminal sends around a pasted text (bracketed paste).
inline constexpr std::string_view kPasteStart = "\x1b[200~";
inline constexpr std::string_view kPasteEnd = "\x1b[201~";

// Follows a stream of keys to tell whether a pasted text is open: its start
// sequence came and its end sequence has not come yet. Readline reads a
// paste to its end sequence whatever else happens, so whoever gives it keys
// must know when it is inside one.
class CPasteWatch {
public:
    void Note(unsigned char key);
    bool Open() const { return open_; }
    // Forgets what came so far: the watch starts outside a paste, or (open)
    // inside one whose end is awaited.
    void Reset(bool open);

private:
    // The last keys, as many as a start or end sequence holds.
    std::string recent_;
    bool open_ = false;
};
