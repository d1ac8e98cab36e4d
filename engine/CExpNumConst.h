#pragma once

#include "engine/CExpConstant.h"

// An integer or floating literal: decimal, octal, hexadecimal, binary or floating.
class CExpNumConst final : public CExpConstant {
public:
    CExpNumConst() : CExpConstant(EXP_NUM_CONST) {}

    bool Parse(CExpSource& source, const std::string& text) override;
    // Reads the literal at the cursor into value; false when no number
    // starts there. A malformed literal is recorded in source and still
    // answers true, with the cursor where reading resumes.
    static bool Read(CExpSource& source, const std::string& text, CValueData& value);
};
