#pragma once

#include "engine/items/CExpItem.h"

class CExpVariable;

// The use of a scalar variable's name in an expression, bound at parse time
// to the variable, so it always reaches the value object the variable
// currently holds.
class CExpVariableUse final : public CExpItem {
public:
    // Its members are plain values, pointers and storage in the line arena.
    static constexpr bool kNothingToRelease = true;

    explicit CExpVariableUse(CExpVariable* variable) : CExpItem(EXP_VARIABLE_USE), variable_(variable) {}

    std::string Text() const override;
    bool IsConstant() const override { return false; }
    // Copies the variable's value, type and all, into the context.
    bool Execute(CExpContext& context) override;
    int ValueType() const override;

    // Stores value into the variable, converted to its declared type, and
    // leaves the variable's new value in context. Records 21.103 in context
    // when there is no value object to store into.
    bool Write(const CValueData& value, CExpContext& context);
    CExpVariable* Variable() const { return variable_; }

private:
    // The variable's value object, or null (recording 21.103) when its
    // declaration never created a value.
    CValueData* Target(CExpContext& context) const;

    CExpVariable* variable_;
};
