#pragma once

#include <cstdint>
#include <vector>

#include "engine/CExpItem.h"

class CArrayData;
class CExpArray;
class CExpVararray;

// The use of an array element, «name[i][j]», bound at parse time to the
// array variable.
class CExpRefarray final : public CExpItem {
public:
    CExpRefarray() : CExpItem(EXP_REFARRAY) {}

    // elementref -> identifier bracketlist   (naming an array variable)
    bool Parse(CExpSource& source, const std::string& text) override;
    std::string Text() const override;
    bool IsConstant() const override { return false; }
    // Copies the addressed element into the context.
    bool Execute(CExpContext& context) override;
    // The array's element type.
    int ValueType() const override;

    // Stores value into the addressed element, converted to the element
    // type, and leaves the element's new value in context. The subscripts
    // are evaluated once, in a context of their own; their diagnostics, or
    // this item's, are added to context.
    bool Write(const CValueData& value, CExpContext& context);
    CExpArray* SubscriptList() const;
    CExpVararray* Array() const { return array_; }

private:
    // Evaluates the subscripts into evaluation and checks them against the
    // array; diagnostics go to report. Null when the element does not exist.
    CArrayData* Locate(CExpContext& evaluation, CExpContext& report);

    CExpVararray* array_ = nullptr;
};
