#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/CExpDiag.h"
#include "engine/ExpKind.h"

// The base of every program item. Items form a tree: each owns its children
// and knows its parent. Items never print; they report through their boolean
// results and diagnostic records.
class CExpItem {
public:
    explicit CExpItem(ExpKind kind) : kind_(kind) {}
    CExpItem(const CExpItem&) = delete;
    CExpItem& operator=(const CExpItem&) = delete;
    virtual ~CExpItem() = default;

    // Recognises the item at source.position. On success the position is
    // past the item's text; once committed an item records problems as
    // diagnostics and still answers true.
    virtual bool Parse(CExpSource& source, const std::string& text);
    virtual bool DefinesName() const { return false; }
    virtual std::string Name() const { return {}; }
    // The text form (concatenated children by default).
    virtual std::string Text() const;
    virtual bool IsWellFormed() const { return false; }
    virtual bool IsConstant() const;
    virtual bool Execute(CExpContext& context);
    virtual bool Check(CExpSource& source);
    virtual int ValueType() const { return 0; }
    // Finds a name among the earlier siblings at each enclosing level, the
    // oldest definition first.
    virtual CExpItem* Lookup(const std::string& name) const;
    virtual CExpItem* MatchName(const std::string& name);

    ExpKind Kind() const { return kind_; }
    int Position() const { return position_; }
    void SetPosition(int position) { position_ = position; }
    CExpItem* Parent() const { return parent_; }
    void SetParent(CExpItem* parent) { parent_ = parent; }

    const std::vector<std::unique_ptr<CExpItem>>& Children() const { return children_; }
    size_t ChildCount() const { return children_.size(); }
    CExpItem* Child(size_t i) const { return children_[i].get(); }
    // Takes ownership and sets the child's parent to this item.
    CExpItem* AppendChild(std::unique_ptr<CExpItem> child);
    CExpItem* PrependChild(std::unique_ptr<CExpItem> child);
    std::unique_ptr<CExpItem> RemoveChild(CExpItem* child);
    void ClearChildren() { children_.clear(); }
    void ReserveChildren(size_t count) { children_.reserve(count); }

protected:
    // Reads the name at the cursor and answers the item that declares it when
    // that item is of the given kind; the item's position is then the name's
    // and the cursor is past it. Otherwise answers nullptr.
    CExpItem* ParseDeclaredName(CExpSource& source, const std::string& text, ExpKind kind);
    // Runs Execute of the children in order, stopping at the first failure.
    bool ExecuteChildren(CExpContext& context);

private:
    ExpKind kind_;
    int position_ = 0;
    CExpItem* parent_ = nullptr;
    std::vector<std::unique_ptr<CExpItem>> children_;
};

// Creates an item of class T with the given parent, without adopting it: a
// candidate for Parse, which needs its parent for lookups.
template <class T>
std::unique_ptr<T> MakeCandidate(CExpItem* parent) {
    auto item = std::make_unique<T>();
    item->SetParent(parent);
    return item;
}
