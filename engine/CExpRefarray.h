#pragma once

#include "engine/CExpItem.h"

class CExpArray;
class CExpVararray;

// The use of an array element, «name[i][j]», bound at parse time to the
// array variable.
class CExpRefarray final : public CExpItem {
public:
    CExpRefarray() : CExpItem(EXP_REFARRAY) {}

    bool Parse(CExpSource& source, const std::string& text) override;
    std::string Text() const override;
    bool IsConstant() const override { return false; }
    bool Execute(CExpContext& context) override;
    int ValueType() const override;

    // Stores value into the addressed element, converted to the element type.
    bool Write(const CValueData& value, CExpContext& context);
    CExpArray* SubscriptList() const;
    CExpVararray* Array() const { return array_; }

private:
    CExpVararray* array_ = nullptr;
};
