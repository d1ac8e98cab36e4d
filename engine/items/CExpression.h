#pragma once

#include "engine/items/CExpItem.h"

// One expression. The parser reads its items one after another, fixes up
// the operators whose meaning depends on their neighbours (sign or
// addition, prefix or postfix increment), orders them by the precedence of
// the operator table and builds the tree as it goes. After a successful
// parse the expression has exactly one child, the root of the tree.
class CExpression final : public CExpItem {
public:
    // Its members are plain values, pointers and storage in the line arena.
    static constexpr bool kNothingToRelease = true;

    // The deepest nesting a line may have: expressions nested inside an
    // expression (parentheses, arguments, subscripts), and levels of the
    // built tree (operators, parentheses, calls) above its leaves. Every
    // tree walk (Check, Execute, ValueType) recurses, so this bound is what
    // keeps the call stack safe; deeper lines are refused with (position,
    // 1, 1) "構文エラー".
    static constexpr int kMaxDepth = 1000;
    // Parenthesised groups read in line, as values, nest at most this deep;
    // deeper ones are items.
    static constexpr size_t kMaxGroupsInLine = 32;

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

    // The operand people pass most, a number or a variable alone before the
    // closing token («v[12]», «sqrt(x)»; a "," also closes when closer is
    // RParen): the item an expression of it would come to, made without the
    // expression and with the cursor past it, found from context. Null when
    // the text is anything else; nothing is read then.
    static CExpItem* ParseLoneOperand(CExpSource& source, const CExpItem& context, TokenKind closer);

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
