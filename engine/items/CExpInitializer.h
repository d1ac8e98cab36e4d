#pragma once

#include <cstdint>
#include <memory_resource>
#include <span>
#include <vector>

#include "engine/items/CExpItem.h"

class CArrayData;
class CExpression;

// «= expression» of a scalar declarator.
class CExpInitializer final : public CExpItem {
public:
    CExpInitializer() : CExpItem(EXP_INITIALIZER) {}

    // initializer -> '=' expression   (stopping before a top-level ',')
    bool Parse(CExpSource& source) override;
    bool Execute(CExpContext& context) override { return ExecuteChildren(context); }
    std::string Text() const override { return {}; }
    size_t ChildCount() const override { return expression_ != nullptr ? 1 : 0; }
    CExpItem* Child(size_t) const override;

    // A string variable takes only a string expression, any other variable
    // only a non-string one; the conversion happens on assignment.
    bool CheckType(CExpSource& source, int declaredType) const;

private:
    CExpression* expression_ = nullptr;
};

// One brace list «{ item, item, … }»; items are nested lists or expressions.
class CExpInitList final : public CExpItem {
public:
    explicit CExpInitList(std::pmr::memory_resource* storage) : CExpItem(EXP_INIT_LIST), items_(storage) {}

    // initlist -> '{' item {',' item} '}'    item -> initlist | expression
    bool Parse(CExpSource& source) override;
    bool Execute(CExpContext& context) override { return ExecuteChildren(context); }
    std::string Text() const override;
    size_t ChildCount() const override { return items_.size(); }
    CExpItem* Child(size_t i) const override { return items_[i]; }

    // Checks this list, at the given nesting level, against the array's
    // dimension sizes and element type.
    bool CheckShape(CExpSource& source, std::span<const int32_t> dims, size_t level, int elementType) const;
    // Stores the leaves into storage; index holds one entry per dimension,
    // those of the enclosing lists already set.
    bool Fill(CArrayData& storage, std::vector<int32_t>& index, size_t level,
              CExpContext& context) const;

private:
    bool ParseItem(CExpSource& source);
    void NoteStore(const CExpItem& item, const CArrayData& storage, std::span<const int32_t> index,
                   CExpContext& context) const;

    std::pmr::vector<CExpItem*> items_;
};

// «= { … }» of an array declarator.
class CExpAryInitializer final : public CExpItem {
public:
    CExpAryInitializer() : CExpItem(EXP_ARY_INITIALIZER) {}

    // aryinitializer -> '=' initlist
    bool Parse(CExpSource& source) override;
    bool Execute(CExpContext& context) override { return ExecuteChildren(context); }
    std::string Text() const override { return {}; }
    size_t ChildCount() const override { return list_ != nullptr ? 1 : 0; }
    CExpItem* Child(size_t) const override;

    // The shape check against the array's sizes and element type.
    bool CheckShape(CExpSource& source, std::span<const int32_t> dims, int elementType) const;
    // Stores every leaf value into storage; false at the first failing item
    // and when there is no list.
    bool Fill(CArrayData& storage, CExpContext& context) const;

private:
    CExpInitList* list_ = nullptr;
};
