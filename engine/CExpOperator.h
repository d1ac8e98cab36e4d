#pragma once

#include "engine/CExpItem.h"
#include "engine/OperatorTable.h"

// Applies one operator of the operator table to its operand children.
class CExpOperator final : public CExpItem {
public:
    CExpOperator() : CExpItem(EXP_OPERATOR) {}

    bool Parse(CExpSource& source, const std::string& text) override;
    std::string Text() const override { return def_.text; }
    bool Execute(CExpContext& context) override;
    bool Check(CExpSource& source) override;
    int ValueType() const override;

    const OperatorDef& Def() const { return def_; }
    OperatorDef& Def() { return def_; }
    int Code() const { return def_.code; }

private:
    OperatorDef def_{};
};
