#pragma once

#include <string_view>
#include <utility>

#include "engine/ValueNotes.h"
#include "engine/expression/ExpressionWorkspace.h"
#include "engine/items/CLineArena.h"
#include "engine/lexer/CLexer.h"

// What the parse of a line works in: its tokens, the storage of its items
// and what its expressions are read with. The manager keeps one for the
// whole session, so each line reuses what the earlier ones grew.
struct ParseWorkspace {
    CLexer lexer;
    CLineArena arena;
    ExpressionWorkspace expressions;
    // Where the values worked out while the line is read note what they
    // change silently; null unless a person will read the notes.
    CValueNoteList* notes = nullptr;

    // Starts on a new line; the items of the last one go.
    void Reset(std::string_view line) {
        arena.Reset();
        lexer.Reset(line);
        expressions.stacks.Clear();
    }

    // A new item of this line, in the line's storage.
    template <class T, class... Args>
    T* New(Args&&... args) {
        return arena.Make<T>(std::forward<Args>(args)...);
    }
};
