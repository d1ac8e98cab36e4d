#pragma once

#include "engine/CExpItem.h"

class CExpFunction;

// A call «name(arguments)»; the arguments are its children.
class CExpFunccall final : public CExpItem {
public:
    CExpFunccall() : CExpItem(EXP_FUNCCALL) {}

    bool Parse(CExpSource& source, const std::string& text) override;
    std::string Text() const override;
    bool IsConstant() const override { return false; }
    bool Execute(CExpContext& context) override;
    bool Check(CExpSource& source) override;
    int ValueType() const override;

private:
    CExpFunction* callee_ = nullptr;
};
