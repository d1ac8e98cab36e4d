#pragma once

#include "engine/CExpConstant.h"

// A fraction literal, «3$4» or the mixed «1$1$2».
class CExpFraConst final : public CExpConstant {
public:
    CExpFraConst() : CExpConstant(EXP_FRA_CONST) {}

    bool Parse(CExpSource& source, const std::string& text) override;

private:
    // Records the malformed literal at its first character and resumes there.
    bool Malformed(CExpSource& source, size_t resume);
};
