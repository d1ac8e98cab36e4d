#pragma once

#include <cstdint>
#include <vector>

#include "engine/CExpItem.h"

class CArrayData;

// «= expression» of a scalar declarator.
class CExpInitializer final : public CExpItem {
public:
    CExpInitializer() : CExpItem(EXP_INITIALIZER) {}

    // initializer -> '=' expression   (stopping before a top-level ',')
    bool Parse(CExpSource& source, const std::string& text) override;
    bool Execute(CExpContext& context) override { return ExecuteChildren(context); }
    std::string Text() const override { return {}; }

    // A string variable takes only a string expression, any other variable
    // only a non-string one; the conversion happens on assignment.
    bool CheckType(CExpSource& source, int declaredType) const;
    // Replaces an expression that is one literal by the literal itself. For
    // ordinary variables only: a reference's initializer keeps its expression,
    // through which the target is found each time the declaration runs.
    void KeepLiteralOnly();
};

// One brace list «{ item, item, … }»; items are nested lists or expressions.
class CExpInitList final : public CExpItem {
public:
    CExpInitList() : CExpItem(EXP_INIT_LIST) {}

    // initlist -> '{' item {',' item} '}'    item -> initlist | expression
    bool Parse(CExpSource& source, const std::string& text) override;
    bool Execute(CExpContext& context) override { return ExecuteChildren(context); }
    std::string Text() const override;

    // Checks this list, at the given nesting level, against the array's
    // dimension sizes and element type.
    bool CheckShape(CExpSource& source, const std::vector<int32_t>& dims, size_t level,
                    int elementType) const;
    // Stores the leaves into storage; index holds one entry per dimension,
    // those of the enclosing lists already set.
    bool Fill(CArrayData& storage, std::vector<int32_t>& index, size_t level,
              CExpContext& context) const;

private:
    bool ParseItem(CExpSource& source, const std::string& text);
};

// «= { … }» of an array declarator.
class CExpAryInitializer final : public CExpItem {
public:
    CExpAryInitializer() : CExpItem(EXP_ARY_INITIALIZER) {}

    // aryinitializer -> '=' initlist
    bool Parse(CExpSource& source, const std::string& text) override;
    bool Execute(CExpContext& context) override { return ExecuteChildren(context); }
    std::string Text() const override { return {}; }

    // The shape check against the array's sizes and element type.
    bool CheckShape(CExpSource& source, const std::vector<int32_t>& dims, int elementType) const;
    // Stores every leaf value into storage; false at the first failing item
    // and when there is no list.
    bool Fill(CArrayData& storage, CExpContext& context) const;

private:
    const CExpInitList* List() const;
};
