#pragma once

#include <cstdint>
#include <vector>

#include "engine/items/CExpItem.h"

class CArrayData;
class CExpBracketList;
class CExpVararray;

// The use of an array element, «name[i][j]», bound at parse time to the
// array variable.
class CExpElementUse final : public CExpItem {
public:
    // Its members are plain values, pointers and storage in the line arena.
    static constexpr bool kNothingToRelease = true;

    explicit CExpElementUse(CExpVararray* array) : CExpItem(EXP_ELEMENT_USE), array_(array) {}
    // The element of array at subscripts, read already; it stands where
    // the subscripts' name does.
    CExpElementUse(CExpVararray* array, CExpBracketList* subscripts);

    // elementuse -> name bracketlist   (the cursor is on the array's name)
    bool Parse(CExpSource& source) override;
    std::string Text() const override;
    bool IsConstant() const override { return false; }
    // Copies the addressed element into the context.
    bool Execute(CExpContext& context) override;
    // The array's element type.
    int ValueType() const override;
    size_t ChildCount() const override { return subscripts_ != nullptr ? 1 : 0; }
    CExpItem* Child(size_t) const override;

    // Stores value into the addressed element, converted to the element
    // type, and leaves the element's new value in context. The subscripts
    // are evaluated once.
    bool Write(const CValueData& value, CExpContext& context);
    CExpVararray* Array() const { return array_; }

private:
    // Evaluates the subscripts and checks them against the array, recording
    // what is wrong in context. Null when the element does not exist.
    CArrayData* Locate(CExpContext& context);

    CExpVararray* array_;
    CExpBracketList* subscripts_ = nullptr;
};
