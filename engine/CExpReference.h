#pragma once

#include "engine/CExpItem.h"

class CExpVariable;

// The use of a scalar variable's name in an expression, bound at parse time
// to the variable's declarator.
class CExpReference final : public CExpItem {
public:
    CExpReference() : CExpItem(EXP_REFERENCE) {}

    bool Parse(CExpSource& source, const std::string& text) override;
    std::string Text() const override;
    bool IsConstant() const override { return false; }
    bool Execute(CExpContext& context) override;
    int ValueType() const override;

    // Stores value into the variable, converted to its declared type.
    // Records 21.103 in context when unbound.
    bool Write(const CValueData& value, CExpContext& context);
    CExpVariable* Variable() const { return variable_; }

private:
    CExpVariable* variable_ = nullptr;
};
