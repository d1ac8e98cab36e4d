#pragma once

#include "engine/CExpItem.h"
#include "engine/OperatorTable.h"

// Applies one operator of the operator table to its operand children, which
// are in text order (operand 1 is the left one). The parser builds the
// children and may re-code the operator (unary or binary, prefix or postfix)
// through Def().
class CExpOperator final : public CExpItem {
public:
    CExpOperator() : CExpItem(EXP_OPERATOR) {}

    // operator -> the first row of the operator table whose text is here
    bool Parse(CExpSource& source, const std::string& text) override;
    std::string Text() const override { return def_.text; }
    bool Execute(CExpContext& context) override;
    bool Check(CExpSource& source) override;
    int ValueType() const override;

    const OperatorDef& Def() const { return def_; }
    OperatorDef& Def() { return def_; }
    int Code() const { return def_.code; }

private:
    int ComputeValueType() const;

    OperatorDef def_{"", -1, 0, 0, 0};
    int staticType_ = -1;   // known once Check has passed
};
