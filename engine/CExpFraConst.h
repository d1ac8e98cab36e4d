#pragma once

#include "engine/CExpItem.h"
#include "value/CValueData.h"

// A fraction literal, «3$4» or the mixed «1$1$2».
class CExpFraConst final : public CExpItem {
public:
    CExpFraConst() : CExpItem(EXP_FRA_CONST) {}

    bool Parse(CExpSource& source, const std::string& text) override;
    bool Execute(CExpContext& context) override;
    bool Check(CExpSource&) override { return true; }
    int ValueType() const override { return value_.Type(); }
    std::string Text() const override { return value_.FormatDec(); }
    const CValueData& Value() const { return value_; }

private:
    // Records the malformed literal at its first character and resumes there.
    bool Malformed(CExpSource& source, size_t resume);

    CValueData value_;
};
