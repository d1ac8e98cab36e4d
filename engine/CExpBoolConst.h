#pragma once

#include "engine/CExpConstant.h"

// «true» or «false».
class CExpBoolConst final : public CExpConstant {
public:
    CExpBoolConst() : CExpConstant(EXP_BOOL_CONST) {}

    bool Parse(CExpSource& source, const std::string& text) override;
};
