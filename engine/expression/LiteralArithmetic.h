#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/expression/ExpressionStacks.h"
#include "engine/expression/ReadingRules.h"
#include "value/CValueData.h"

class CExpItem;
class CExpSource;
class KnownValues;

// The literal pass: the lines people type most, literals and the values
// known while the line is read (variables and array elements that nothing
// before them in the line can change) joined by pure operators and
// parentheses («-(4 + 5) * 3 - 7», «a5 + v[3] * 2»), worked out in one pass
// over their tokens, in a fraction of the time the expression builder takes,
// which carries what any line may need. It follows the rules of reading
// (ReadingRules.h) over the operator table's rows and the rules of known
// values (KnownValues), and CExpOperator works out each operator by its
// row's value rule, so it comes to the literal the builder would fold the
// same text into. Anything else (an undefined name, a call, a string, an
// operator that is not pure, a working out that fails, a nesting the builder
// would read otherwise) is declined with the cursor untouched, and the
// builder reads the text as it always does, faults and all.
//
// It reads a whole expression (CExpression::ParseExpression), an assignment
// of such an expression to a variable or an element, and the right operand
// of a binary operator whose right operand runs to the next comma, "=" above
// all, for the builder (ExpressionBuilder).
class LiteralArithmetic {
public:
    // What the text came to, as the builder's operand worked out to a value.
    struct Result {
        const CValueData* value;   // valid until the next WorkOut
        int staticType;
        int height;     // levels of the tree it stands for above its leaves
        int position;   // of its root operator, or of the "(" of a group
        bool constant;  // worked out from literals alone
        OperandRoot root;
    };

    // A known value stored in a place: «a3 = a17 * 7 + a42 % 13».
    struct Assignment {
        // The operator's operands as the builder keeps them: the place, a
        // variable or an element, then the rest, whose item the caller makes.
        std::array<::Operand, 2> operands;
        PendingOperator op;   // the operator that stores into the place
        Result value;         // what the rest of the expression came to
        int height;           // levels of the tree above its leaves
        // Where the rest begins when the pass declined it, or kNoToken: the
        // builder does not offer it to the pass again.
        size_t declinedRest;
    };
    static constexpr size_t kNoToken = static_cast<size_t>(-1);

    // The expression at the cursor, whose names are looked up from scope;
    // with stopAtComma a top-level "," ends it, and so does an operator after
    // an operand that binds its left operand no tighter than limit
    // (Level::Waiting for none), both unread. True with the cursor where the
    // builder stops reading it: past the blanks after it, where an unclosed
    // comment is recorded.
    bool WorkOut(CExpSource& source, const CExpItem& scope, bool stopAtComma, Level limit, Result& result);
    // Where the operator of an assignment stands when the expression at the
    // cursor begins as one: a name, perhaps with subscripts, then an
    // operator that writes it; kNoToken otherwise. WorkOut declines such an
    // expression.
    size_t AssignmentOperator(CExpSource& source) const;
    // The expression at the cursor, which begins as an assignment whose
    // operator stands at after (as AssignmentOperator found it), read as
    // one: a variable or an element, then the operator that writes it and
    // takes the rest of the expression, which the pass works out. True,
    // with the cursor as the builder leaves it, when the builder would make
    // the tree of those three; false with the cursor untouched otherwise.
    bool WorkOutAssignment(CExpSource& source, const CExpItem& scope, bool stopAtComma, size_t after,
                           Assignment& result);

private:
    struct Operand {
        const CValueData* value;   // the literal's or the variable's own, or the slot's in values_
        int32_t staticType;
        int32_t height;
        int32_t position;
        ::Operand::Form form;      // what the builder would keep it as
        bool constant;             // IsConstantOperand of its form, as it was read or worked out
        OperandRoot root;
    };
    // A group whose "(" has been read: where its operators begin on the
    // pending stack, and where it stands.
    struct Group {
        size_t operatorBase;
        int32_t position;
    };

    // What the pass does with the token after an operand: takes it (a pure
    // binary operator, or a ")" that closes a group), stops before it (it
    // ends what the pass reads), or declines the expression.
    enum class Next : uint8_t { Take, Stop, Decline };
    Next Follows(const Token& token, bool stopAtComma, Level limit) const;
    // The name token at index as an operand: a boolean word, or a variable
    // or an element whose value is known; index is then at its last token,
    // and end where that token ends. False for any other, and for a call,
    // whose name is not looked up.
    bool ReadName(CExpSource& source, const CExpItem& scope, const KnownValues& known, const Token& token,
                  size_t& index, Operand& operand, int& end) const;
    // A pure operator arrives: those pending in its group that bind at least
    // as tightly are applied first. False when one of them cannot be, or
    // there is no room.
    bool Arrive(const PendingOperator& arriving);
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
