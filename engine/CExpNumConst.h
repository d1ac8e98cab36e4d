#pragma once

#include "engine/CExpItem.h"
#include "value/CValueData.h"

// An integer or floating literal: decimal, octal, hexadecimal, binary or floating.
class CExpNumConst final : public CExpItem {
public:
    CExpNumConst() : CExpItem(EXP_NUM_CONST) {}

    bool Parse(CExpSource& source, const std::string& text) override;
    bool Execute(CExpContext& context) override;
    bool Check(CExpSource&) override { return true; }
    int ValueType() const override { return value_.Type(); }
    std::string Text() const override { return value_.FormatDec(); }
    const CValueData& Value() const { return value_; }

private:
    // The forms, tried in this order; each answers whether it claimed the text.
    bool ParseHexadecimal(CExpSource& source, const std::string& text);
    bool ParseBinary(CExpSource& source, const std::string& text);
    bool ParseFloating(CExpSource& source, const std::string& text);
    bool ParseOctal(CExpSource& source, const std::string& text);
    void ParseDecimal(CExpSource& source, const std::string& text);
    bool Malformed(CExpSource& source, size_t resume);

    CValueData value_;
};
