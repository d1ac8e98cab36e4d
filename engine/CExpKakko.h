#pragma once

#include "engine/CExpItem.h"

// A parenthesised expression; its single child is the inner CExpression.
class CExpKakko final : public CExpItem {
public:
    CExpKakko() : CExpItem(EXP_KAKKO) {}

    bool Parse(CExpSource& source, const std::string& text) override;
    bool Execute(CExpContext& context) override;
    int ValueType() const override;
    std::string Text() const override;
};
