#pragma once

#include "engine/CExpItem.h"
#include "value/CValueData.h"

// A string literal with escape sequences.
class CExpStrConst final : public CExpItem {
public:
    CExpStrConst() : CExpItem(EXP_STR_CONST) {}

    bool Parse(CExpSource& source, const std::string& text) override;
    bool Execute(CExpContext& context) override;
    bool Check(CExpSource&) override { return true; }
    int ValueType() const override { return value_.Type(); }
    std::string Text() const override { return value_.FormatDec(); }
    const CValueData& Value() const { return value_; }

private:
    CValueData value_;
};
