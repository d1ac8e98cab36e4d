#pragma once

#include "engine/items/CExpItem.h"

class CExpression;

// A parenthesised group «( expression )»; its single child is the inner
// expression.
class CExpKakko final : public CExpItem {
public:
    // Its members are plain values, pointers and storage in the line arena.
    static constexpr bool kNothingToRelease = true;

    CExpKakko() : CExpItem(EXP_KAKKO) {}

    bool Parse(CExpSource& source) override;
    bool Execute(CExpContext& context) override;
    int ValueType() const override;
    std::string Text() const override;
    size_t ChildCount() const override { return inner_ != nullptr ? 1 : 0; }
    CExpItem* Child(size_t) const override;

private:
    CExpression* inner_ = nullptr;
};
