#pragma once

#include <cstdint>
#include <vector>

#include "engine/CExpItem.h"

class CArrayData;

// «= expression» of a scalar declarator.
class CExpInitializer final : public CExpItem {
public:
    CExpInitializer() : CExpItem(EXP_INITIALIZER) {}

    bool Parse(CExpSource& source, const std::string& text) override;
    bool Execute(CExpContext& context) override;
    std::string Text() const override { return {}; }
};

// One brace list «{ item, item, … }»; items are nested lists or expressions.
class CExpInitList final : public CExpItem {
public:
    CExpInitList() : CExpItem(EXP_INIT_LIST) {}

    bool Parse(CExpSource& source, const std::string& text) override;
    bool Execute(CExpContext& context) override;
    std::string Text() const override;
};

// «= { … }» of an array declarator.
class CExpAryInitializer final : public CExpItem {
public:
    CExpAryInitializer() : CExpItem(EXP_ARY_INITIALIZER) {}

    bool Parse(CExpSource& source, const std::string& text) override;
    bool Execute(CExpContext& context) override;
    std::string Text() const override { return {}; }

    // The shape check against the array's sizes and element type.
    bool CheckShape(CExpSource& source, const std::vector<int32_t>& dims, int elementType);
    // Stores every leaf value into storage; false at the first failing item.
    bool Fill(CArrayData& storage, CExpContext& context);
};
