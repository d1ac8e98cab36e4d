#pragma once

#include "engine/CExpConstant.h"

// A string literal with escape sequences.
class CExpStrConst final : public CExpConstant {
public:
    CExpStrConst() : CExpConstant(EXP_STR_CONST) {}

    bool Parse(CExpSource& source, const std::string& text) override;
};
