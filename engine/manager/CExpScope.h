#pragma once

#include <string_view>

#include "engine/items/CExpItem.h"
#include "engine/items/CNameIndex.h"

// The outermost scope of every line. The manager's persistent functions and
// declarations are not its children: names that reach this level are
// answered from an index, which keeps the earliest definition of each name,
// so a lookup costs the same however long the session has run.
class CExpScope final : public CExpItem {
public:
    CExpScope() : CExpItem(EXP_ITEM) {}

    CExpItem* Lookup(std::string_view name) const override { return names_.Find(name); }

    // Records a persistent definition under its own name, which must live as
    // long as the index; an earlier one of the same name wins.
    void Define(CExpItem* item) { names_.Add(item); }
    void ForgetAll() { names_.Clear(); }
    const CNameIndex& Names() const { return names_; }

private:
    CNameIndex names_;
};
