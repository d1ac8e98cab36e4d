#pragma once

#include "engine/CExpItem.h"

class CExpVariable;

// The use of a scalar variable's name in an expression, bound at parse time
// to the variable's declarator, so it always reaches the value object the
// variable currently holds.
class CExpReference final : public CExpItem {
public:
    CExpReference() : CExpItem(EXP_REFERENCE) {}

    bool Parse(CExpSource& source, const std::string& text) override;
    std::string Text() const override;
    bool IsConstant() const override { return false; }
    // Copies the variable's value, type and all, into the context.
    bool Execute(CExpContext& context) override;
    int ValueType() const override;

    // Stores value into the variable, converted to its declared type, and
    // leaves the variable's new value in context.
    // Records 21.103 in context when there is no value object to store into.
    bool Write(const CValueData& value, CExpContext& context);
    CExpVariable* Variable() const { return variable_; }

private:
    // The bound variable's value object, or null (recording 21.103) when the
    // name is unbound or its declaration never created a value.
    CValueData* Target(CExpContext& context) const;

    CExpVariable* variable_ = nullptr;
};
