#pragma once

#include "engine/expression/ExpressionStacks.h"
#include "engine/expression/GroupsInLine.h"
#include "engine/expression/KnownValues.h"
#include "engine/expression/OperandStack.h"

class CExpItem;
class CExpression;
class CExpSource;
class CExpVararray;
struct Token;

// Reads the items of one expression and builds its tree as they arrive.
//
// The operators are ordered by the binding powers of their rows on a pending
// stack; an operator is applied (takes its operands off the operand stack
// and goes on it as one operand) as soon as an arriving operator binds no
// tighter, so a chain such as «1+1+…» is built, and a line past the depth
// bound refused, while it is read. The faults of reading an item (an unknown name, a malformed
// literal) come before those of the tree (OperandStack), and a misplaced
// "++" or "--" before the tree's.
class ExpressionBuilder {
public:
    // The pass declined the text from token declinedRest on (or none, with
    // LiteralArithmetic::kNoToken): the builder does not offer it again.
    ExpressionBuilder(CExpression& expression, CExpSource& source, size_t declinedRest);
    ExpressionBuilder(const ExpressionBuilder&) = delete;
    ExpressionBuilder& operator=(const ExpressionBuilder&) = delete;

    // With stopAtComma a top-level "," ends the expression, unread. False
    // when there is no expression at the cursor or it failed.
    bool Build(bool stopAtComma);

private:
    enum class Scanned { Item, End, Failed };
    // A "++" or "--" waiting for the variable it must stand before, and the
    // first one that found none.
    struct Increments {
        int waiting = -1;
        int misplaced = -1;
    };

    Scanned ScanItem(bool stopAtComma);
    Scanned ScanName(const Token& token);
    void ScanGroupItem();
    bool Finish();

    bool MayOpenGroup() const;
    void OpenGroup();
    void CloseGroup();
    // Back to the outermost group read in line, which is read again as an
    // item, with its inner groups.
    void ReadGroupAgain();
    void CountFromInnermostGroup();

    void ArriveItem(CExpItem* item);
    // The current token, as the operand it is.
    void ArriveToken(Operand::Form form, const Token& token, CExpItem* item = nullptr);
    // An element with a plain number for each subscript, whose value can be
    // read now; false, with nothing read, for any other.
    bool ArriveKnownElement(const Token& name, CExpVararray* array);
    // An operand arrived whose text starts at position.
    void ArriveOperand(int position);
    void ArriveOperator(const Token& token);
    // The right operand of the operator just pushed, when the literal pass
    // can work it out: an operator whose right operand runs to the next
    // comma, so that the texts the pass reads never overlap.
    void WorkOutRightOperand(const PendingOperator& pushed);
    // A "++" or "--" that follows no variable needs one after it.
    void SettleIncrement(bool nextIsVariable);
    // Takes the operator on top of the pending stack off it, and applies it.
    void Apply();

    CExpression& expression_;
    CExpSource& source_;
    KnownValues known_;
    OperandStack operands_;
    StackPart<PendingOperator> operators_;
    GroupsInLine groups_;
    ScanState scan_;
    Increments increments_;
    bool stopAtComma_ = false;
    const size_t declinedRest_;
};
