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
    // The deepest nesting a line may have: expressions nested inside an
    // expression (parentheses, arguments, subscripts), and levels of the
    // built tree (operators, parentheses, calls) above its leaves. Every
    // tree walk (Check, Execute, ValueType, destruction) recurses, so this
    // bound is what keeps the call stack safe; deeper lines are refused with
    // (position, 1, 1) "構文エラー".
    static constexpr int kMaxDepth = 1000;

    CExpression() : CExpItem(EXP_EXPRESSION) {}

    bool Parse(CExpSource& source, const std::string& text) override;
    // With stopAtComma set a top-level "," ends the expression, unread.
    // False when there is no expression at the cursor or it failed; the
    // failures are recorded in source.
    bool ParseExpression(CExpSource& source, const std::string& text, bool stopAtComma);
    bool Execute(CExpContext& context) override;
    int ValueType() const override;
    // A parenthesised expression is checked when it is parsed; the enclosing
    // expression's check does not walk it again.
    bool Check(CExpSource& source) override;
    bool IsWellFormed() const override { return !buildFailed_; }
    // The levels of the built tree above its deepest leaf.
    int Depth() const { return depth_; }

private:
    using Sequence = std::vector<std::unique_ptr<CExpItem>>;

    enum class ScanEnd { Complete, Failed };
    ScanEnd ScanItems(CExpSource& source, const std::string& text, bool stopAtComma, Sequence& items);
    std::unique_ptr<CExpItem> ScanItem(CExpSource& source, const std::string& text);
    bool BuildTree(CExpSource& source, Sequence postfix);
    std::unique_ptr<CExpItem> TakeSubtree(CExpSource& source, Sequence& postfix, int& depth);
    bool Refuse(CExpSource& source, int position, int major, int minor);

    bool buildFailed_ = false;
    bool checked_ = false;
    int depth_ = 0;
};
