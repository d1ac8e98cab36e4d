#pragma once

#include <cstddef>

#include "engine/expression/ExpressionStacks.h"

class CExpSource;

// The parenthesised groups an expression reads in line. A group is first read
// on the expression's own stacks, as if it were the expression's own text;
// if it comes to a value it stands for that value as a group item would
// have. Anything else in it (a fault, an operator that cannot be worked out,
// the end of the line) abandons it: the reader goes back to its "(" and
// reads it again as a group item, which gives every diagnostic and every
// tree exactly as that item does. Here are the records of the groups open,
// each with the cursor as it stood at its "(".
class GroupsInLine {
public:
    GroupsInLine(CExpSource& source, ExpressionStacks& stacks) : source_(source), records_(stacks.groups) {}

    size_t Open() const { return records_.Count(); }
    const GroupInLine& Innermost() { return records_.Top(); }

    // A group opens at the "(" at the cursor, which moves past it. Groups
    // read inside it as parts of other expressions (arguments, subscripts)
    // are read as items, so that reading this one again reads them only
    // once more.
    void OpenHere(const GroupInLine& record);
    // The innermost group closes, having come to a value.
    GroupInLine Close();

    // Whether the groups open cannot come to a value.
    bool Abandoned() const { return abandoned_; }
    void Abandon() { abandoned_ = true; }
    // Every group open closes, and the cursor goes back to the "(" of the
    // outermost one, as it stood there; that group's record is returned.
    GroupInLine Unread();

private:
    CExpSource& source_;
    StackPart<GroupInLine> records_;
    bool abandoned_ = false;
};
