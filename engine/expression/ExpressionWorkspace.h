#pragma once

#include "engine/expression/ExpressionStacks.h"
#include "engine/expression/LiteralArithmetic.h"

// What the expressions of a line are read with, kept from line to line.
struct ExpressionWorkspace {
    ExpressionStacks stacks;
    LiteralArithmetic literalArithmetic;
    // Parts of a line whose values are known are worked out while it is
    // read (KnownValues); off only where the tree as read is looked at (a
    // test, the fuzz target's third reading).
    bool folding = true;
    // Lines of literal arithmetic are worked out by the literal pass; off
    // only where a test compares it with the builder.
    bool literalPass = true;

    // Whether the literal pass may read at a cursor in this state: it works
    // out what it reads, it reads groups in line, and it reads no text that
    // follows a fault.
    bool LiteralPassMayRead(const CursorState& cursor, bool failed) const {
        return folding && literalPass && cursor.inlineGroups && !failed;
    }
};
