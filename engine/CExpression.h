#pragma once

#include <memory>
#include <vector>

#include "engine/CExpItem.h"

// One expression: the parser cuts the text into a flat item sequence, fixes
// up signs and increments, reorders the sequence into postfix order by
// operator precedence and builds the tree. After a successful parse the
// expression has exactly one child, the root of the tree.
class CExpression : public CExpItem {
public:
    // The deepest nesting of parentheses and expression trees a line may
    // have; deeper lines are refused with (position, 1, 1).
    static constexpr int kMaxDepth = 1000;

    CExpression() : CExpItem(EXP_EXPRESSION) {}

    bool Parse(CExpSource& source, const std::string& text) override;
    // With stopAtComma set a top-level "," ends the expression, unread.
    bool ParseExpression(CExpSource& source, const std::string& text, bool stopAtComma);
    bool Execute(CExpContext& context) override;
    int ValueType() const override;
    bool IsWellFormed() const override { return !buildFailed_; }

private:
    bool buildFailed_ = false;
};
