#pragma once

#include "engine/CExpItem.h"

// A declaration: a type word and a comma-separated list of declarators
// (CExpVararray or CExpVariable children).
class CExpType final : public CExpItem {
public:
    CExpType() : CExpItem(EXP_TYPE) {}

    bool Parse(CExpSource& source, const std::string& text) override;
    bool Execute(CExpContext& context) override;
    std::string Text() const override;
    int ValueType() const override { return type_; }
    bool IsConstant() const override { return false; }
    CExpItem* MatchName(const std::string& name) override;

private:
    int type_ = 0;
};
