#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/items/ExpressionStacks.h"
#include "value/CValueData.h"

class CExpSource;

// The line people type most, literals joined by operators and parentheses
// («-(4 + 5) * 3 - 7»), worked out in one pass over its tokens.
// It comes to the literal the expression parser would fold the same text
// into: the operator table orders the operators as there, and
// CExpOperator::Fold works each one out. Anything else (a name, an
// operator that is not pure, a fold that fails, a nesting the parser would
// read otherwise) is declined with the cursor untouched, and the parser
// reads the expression as it always does, faults and all.
class LiteralArithmetic {
public:
    LiteralArithmetic();

    // What the expression came to, as the parser's folded literal.
    struct Result {
        const CValueData* value;   // valid until the next Fold
        int staticType;
        int height;     // levels of the tree it stands for above its leaves
        int position;   // of its root operator, or of the "(" of a group
    };

    // The expression at the cursor (with stopAtComma a top-level "," ends
    // it); true with the cursor where the parser would stop reading it.
    bool Fold(CExpSource& source, bool stopAtComma, Result& result);

private:
    struct Operand {
        const CValueData* value;   // the literal's own, or the slot's in values_
        int32_t staticType;
        int32_t height;
        int32_t position;
    };
    using PendingOperator = ExpressionStacks::Operator;

    // The operator arrives: those pending that bind tighter are applied
    // first. False when one of them cannot be, or there is no room.
    bool Arrive(const PendingOperator& arriving);
    // Applies the operator on top of the pending stack to its operands on
    // top of the operand stack; false when the parser would not.
    bool ApplyTop();
    // A ")" closes the group whose "(" is on the pending stack.
    bool CloseGroup();

    // Past this many operands or pending operators the expression is the
    // parser's. Within a group the pending binary operators bind ever
    // tighter, one per precedence level at most; only a run of signs piles
    // up further.
    static constexpr size_t kRoom = 512;

    // The operator each row of the operator table stands for before an
    // operand and after one, with kNotFoldable for the code where that
    // operator is not pure.
    std::array<PendingOperator, kOperators.size()> beforeOperand_{};
    std::array<PendingOperator, kOperators.size()> afterOperand_{};
    std::array<Operand, kRoom> operands_{};
    std::array<CValueData, kRoom> values_{};
    std::array<PendingOperator, kRoom> operators_{};
    size_t operandCount_ = 0;
    size_t operatorCount_ = 0;
};
