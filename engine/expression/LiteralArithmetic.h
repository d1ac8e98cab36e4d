#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/expression/ExpressionStacks.h"
#include "engine/expression/ReadingRules.h"
#include "value/CValueData.h"

class CExpSource;

// The literal pass: the line people type most, literals joined by operators
// and parentheses («-(4 + 5) * 3 - 7»), worked out in one pass over its
// tokens in a quarter less time than the expression builder takes, which
// carries what any line may need. It follows the rules of reading
// (ReadingRules.h),
// and CExpOperator works out each operator, so it comes to the literal the
// builder would fold the same text into. Anything else (a name, a string,
// an operator that is not pure, a working out that fails, a nesting the
// builder would read otherwise) is declined with the cursor untouched, and
// the builder reads the expression as it always does, faults and all.
class LiteralArithmetic {
public:
    // What the expression came to, as the builder's folded literal.
    struct Result {
        const CValueData* value;   // valid until the next WorkOut
        int staticType;
        int height;     // levels of the tree it stands for above its leaves
        int position;   // of its root operator, or of the "(" of a group
    };

    // The expression at the cursor (with stopAtComma a top-level "," ends
    // it); true with the cursor where the builder stops reading it: past
    // the blanks after it, where an unclosed comment is recorded.
    bool WorkOut(CExpSource& source, bool stopAtComma, Result& result);

private:
    struct Operand {
        const CValueData* value;   // the literal's own, or the slot's in values_
        int32_t staticType;
        int32_t height;
        int32_t position;
    };
    // A group whose "(" has been read: where its operators begin on the
    // pending stack, and where it stands.
    struct Group {
        size_t operatorBase;
        int32_t position;
    };

    // The pure operator code, with operands operands, arrives at position:
    // those pending in its group that bind at least as tightly are applied
    // first. False when it is not pure, one of them cannot be applied, or
    // there is no room.
    bool Arrive(int code, int operands, int32_t position);
    // Applies the operator on top of the pending stack to its operands on
    // top of the operand stack; false when the builder would not.
    bool ApplyTop();
    // A ")" closes the innermost group.
    bool CloseGroup();
    // Where the operators of the innermost group, or of the expression, begin.
    size_t OperatorBase() const { return groupCount_ > 0 ? groups_[groupCount_ - 1].operatorBase : 0; }

    // Past this many operands or pending operators the expression is the
    // builder's. Within a group the pending binary operators bind ever
    // tighter, one per level at most; only a run of signs piles up further.
    static constexpr size_t kRoom = 512;

    std::array<Operand, kRoom> operands_{};
    std::array<CValueData, kRoom> values_{};
    std::array<PendingOperator, kRoom> operators_{};
    std::array<Group, kMaxGroupsInLine> groups_{};
    size_t operandCount_ = 0;
    size_t operatorCount_ = 0;
    size_t groupCount_ = 0;
};
