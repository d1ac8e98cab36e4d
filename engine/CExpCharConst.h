#pragma once

#include "engine/CExpConstant.h"

// A character literal «'a'» (no escape sequences).
class CExpCharConst final : public CExpConstant {
public:
    CExpCharConst() : CExpConstant(EXP_CHAR_CONST) {}

    bool Parse(CExpSource& source, const std::string& text) override;
};
