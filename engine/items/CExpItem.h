#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/ExpKind.h"
#include "engine/items/CExpContext.h"
#include "engine/items/CExpSource.h"

// The base of every program item. Items form a tree: each knows its parent
// and its children. The items of a line live in the line's storage and go
// with it; the names a line declares (variables, arrays, functions) are
// kept by the manager beyond it. Most line items are dropped with their
// storage without being destroyed (kNothingToRelease in CLineArena.h), so a
// member added here must own nothing. Items never print; they report through
// their boolean results and diagnostic records.
class CExpItem {
public:
    explicit CExpItem(ExpKind kind) : kind_(kind) {}
    CExpItem(const CExpItem&) = delete;
    CExpItem& operator=(const CExpItem&) = delete;
    virtual ~CExpItem() = default;

    // Recognises the item at the cursor. On success the cursor is past the
    // item's text; once committed an item records problems as diagnostics
    // and still answers true.
    virtual bool Parse(CExpSource& source);
    virtual std::string_view Name() const { return {}; }
    // The text form (the children's texts concatenated by default).
    virtual std::string Text() const;
    virtual bool IsConstant() const;
    // Leaves the item's value in context.value; false after recording an
    // execution diagnostic.
    virtual bool Execute(CExpContext& context);
    virtual bool Check(CExpSource& source);
    virtual int ValueType() const { return 0; }
    // Finds a name at each enclosing level, innermost first: among what the
    // level itself defines before this item, then further out.
    virtual CExpItem* Lookup(std::string_view name) const;
    // What this item defines under name for its child before: none, but for
    // the items that define names, which answer from an index of their own,
    // so a lookup never walks a list of children (a long argument or brace
    // list would cost the square of its length).
    virtual CExpItem* MatchChildBefore(std::string_view, const CExpItem*) const { return nullptr; }

    virtual size_t ChildCount() const { return 0; }
    virtual CExpItem* Child(size_t) const { return nullptr; }

    ExpKind Kind() const { return kind_; }
    int Position() const { return position_; }
    void SetPosition(int position) { position_ = position; }
    CExpItem* Parent() const { return parent_; }
    void SetParent(CExpItem* parent) { parent_ = parent; }

protected:
    // Runs Execute of the children in order, stopping at the first failure.
    bool ExecuteChildren(CExpContext& context);

private:
    CExpItem* parent_ = nullptr;
    int position_ = 0;
    ExpKind kind_;
};

// The levels of an item's tree above its leaves; a nested expression knows
// its own.
int NestingDepth(const CExpItem& item);
// The item an expression or a parenthesised group stands for, looking
// through expressions and groups that hold one item each («((a))» is «a»);
// null when one of them holds none. Any other item stands for itself.
CExpItem* ThroughParentheses(CExpItem& item);
// Whether the item names a place that a value can be stored into: a
// variable or an array element.
bool IsVariableUse(const CExpItem& item);
