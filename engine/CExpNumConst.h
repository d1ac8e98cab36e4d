#pragma once

#include "engine/CExpConstant.h"

// An integer or floating literal: decimal, octal, hexadecimal, binary or floating.
class CExpNumConst final : public CExpConstant {
public:
    CExpNumConst() : CExpConstant(EXP_NUM_CONST) {}

    bool Parse(CExpSource& source, const std::string& text) override;

private:
    // The forms, tried in this order; each answers whether it claimed the text.
    bool ParseHexadecimal(CExpSource& source, const std::string& text);
    bool ParseBinary(CExpSource& source, const std::string& text);
    bool ParseFloating(CExpSource& source, const std::string& text);
    bool ParseOctal(CExpSource& source, const std::string& text);
    void ParseDecimal(CExpSource& source, const std::string& text);
    bool Malformed(CExpSource& source, size_t resume);
};
