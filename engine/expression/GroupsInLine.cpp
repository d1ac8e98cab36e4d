#include "engine/expression/GroupsInLine.h"

#include "engine/items/CExpSource.h"

void GroupsInLine::OpenHere(const GroupInLine& record) {
    records_.Push(record);
    source_.inlineGroups = false;
    ++source_.depth;
    source_.Advance();
}

GroupInLine GroupsInLine::Close() {
    const GroupInLine record = records_.Pop();
    --source_.depth;
    if (Open() == 0) source_.inlineGroups = true;
    return record;
}

GroupInLine GroupsInLine::Unread() {
    const GroupInLine outermost = records_.At(records_.Base());
    records_.DropFrom(records_.Base());
    source_.Restore(outermost.cursor);
    abandoned_ = false;
    return outermost;
}
