#pragma once

#include "engine/items/CExpItem.h"

// One expression. Its text is read by the literal pass or the expression
// builder (engine/expression), which order its items by the precedence of
// the operator table and build the tree as they go. After a successful
// parse the expression has exactly one child, the root of the tree.
class CExpression final : public CExpItem {
public:
    // Its members are plain values, pointers and storage in the line arena.
    static constexpr bool kNothingToRelease = true;

    CExpression() : CExpItem(EXP_EXPRESSION) {}

    bool Parse(CExpSource& source) override { return ParseExpression(source, false); }
    // With stopAtComma set a top-level "," ends the expression, unread.
    // False when there is no expression at the cursor or it failed; the
    // failures are recorded in source.
    bool ParseExpression(CExpSource& source, bool stopAtComma);
    bool Execute(CExpContext& context) override { return root_ == nullptr || root_->Execute(context); }
    int ValueType() const override { return root_ != nullptr ? root_->ValueType() : 0; }
    // A parenthesised expression is checked when it is parsed; the enclosing
    // expression's check does not walk it again.
    bool Check(CExpSource& source) override;
    size_t ChildCount() const override { return root_ != nullptr ? 1 : 0; }
    CExpItem* Child(size_t) const override { return root_; }

    CExpItem* Root() const { return root_; }
    // The levels of the built tree above its deepest leaf.
    int Depth() const { return depth_; }

private:
    friend class ExpressionBuilder;

    // Takes tree, of the given height, as the root and checks the expression.
    bool TakeRoot(CExpSource& source, CExpItem* tree, int height);

    CExpItem* root_ = nullptr;
    int depth_ = 0;
    bool checked_ = false;
};
