#pragma once

#include "engine/CExpItem.h"
#include "value/CValueData.h"

// A character literal «'a'» (no escape sequences).
class CExpCharConst final : public CExpItem {
public:
    CExpCharConst() : CExpItem(EXP_CHAR_CONST) {}

    bool Parse(CExpSource& source, const std::string& text) override;
    bool Execute(CExpContext& context) override;
    bool Check(CExpSource&) override { return true; }
    int ValueType() const override { return value_.Type(); }
    std::string Text() const override { return value_.FormatDec(); }
    const CValueData& Value() const { return value_; }

private:
    CValueData value_;
};
