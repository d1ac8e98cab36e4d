#pragma once

#include <cstddef>
#include <cstdint>

// What the cursor carries along as a reading goes, besides the diagnostics:
// everything a reading changes, so everything a reading that is undone puts
// back. It is saved and restored whole (CExpSource::Save, Restore), so a
// field added here cannot be forgotten.
struct CursorState {
    int position = 0;
    size_t index = 0;
    // The depth of nested expressions and brace lists being parsed; the
    // parser refuses lines that nest deeper than kMaxDepth (ReadingRules.h)
    // so that no input can exhaust the stack.
    int depth = 0;
    // Whether running the line up to the point read may change a variable
    // (an assignment, "++", a call): from there on variables are read when
    // the line runs, not while it is read.
    bool mayChangeVariables = false;
    // Whether an expression may read a parenthesised group in line, as a
    // value, instead of making it an item; off while a group is read that
    // way, and while a group that could not be is read again as an item,
    // so no text is read more than twice.
    bool inlineGroups = true;
    // How many times the reading went on inside a token (ResumeAt), which
    // cuts the tokens from there anew.
    uint32_t resumes = 0;
};

// Where a reading began (CExpSource::Save): the cursor's state, and how many
// diagnostics there were.
struct CursorMark : CursorState {
    size_t diagnostics;
};
