#include "engine/items/CExpression.h"

#include <algorithm>

#include "engine/items/CExpConstant.h"
#include "engine/items/CExpElementUse.h"
#include "engine/items/CExpFunccall.h"
#include "engine/items/CExpFunction.h"
#include "engine/items/CExpKakko.h"
#include "engine/items/CExpOperator.h"
#include "engine/items/CExpVararray.h"
#include "engine/items/CExpVariable.h"
#include "engine/items/CExpVariableUse.h"

namespace {

using Operand = ExpressionStacks::Operand;
using PendingOperator = ExpressionStacks::Operator;

// A "?" still waiting for its ":" holds back every operator that arrives.
constexpr int kWaitingPrecedence = 99;
constexpr int kNoPosition = -1;

const CValueData& BoolValue(bool truth) {
    static const CValueData kTrue = CValueData::Bool(true);
    static const CValueData kFalse = CValueData::Bool(false);
    return truth ? kTrue : kFalse;
}

bool IsIncrementCode(int code) {
    return code == OP_PRE_INC || code == OP_PRE_DEC || code == OP_POST_INC || code == OP_POST_DEC;
}

// Whether the operator on top of the pending stack is applied before the
// arriving operator c is pushed.
bool Precedes(const PendingOperator& top, const PendingOperator& c) {
    // Everything between a ":" and the "?" it closes belongs to the middle
    // operand, even "=", "," and a "?" that is complete.
    if (c.code == OP_COLON && (top.code == OP_ASSIGN || top.code == OP_COMMA || top.code == OP_COND)) return true;
    return top.precedence < c.precedence ||
           (top.precedence == c.precedence && OperatorRow(top.row).rightToLeft == 0);
}

// Whether an operand whose root binds more loosely than its operator may
// still be operand slot (counted from the last) of it: the value of "=" may
// be a "?", and the middle of a "?" may be a ",".
bool IsAllowedLooserOperand(int code, size_t slot, int operandCode) {
    return (code == OP_ASSIGN && slot == 0 && operandCode == OP_COND) ||
           (code == OP_COND && slot == 1 && operandCode == OP_COMMA);
}

// Keeps source.depth for the length of one expression parse.
class NestingGuard {
public:
    explicit NestingGuard(int& depth) : depth_(depth) { ++depth_; }
    ~NestingGuard() { --depth_; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

private:
    int& depth_;
};

}  // namespace

// Reads the items of one expression and builds its tree as they arrive.
//
// The operators are ordered by precedence on a pending stack; an operator is
// applied (takes its operands off the operand stack and goes on it as one
// operand) as soon as an arriving operator binds no tighter, so a chain such
// as «1+1+…» is built, and a line past the depth bound refused, while it is
// read. The result is the tree of the postfix order of the items, built
// from its end: an operator takes the subtrees just before it.
//
// A line that is faulty in several ways reports what that building from the
// end meets first: each operand remembers the first failure in its tree in
// that order, and the records of operators that lack operands; the faults of
// reading an item (an unknown name, a malformed literal) come before all of
// them, and a misplaced "++" or "--" before the tree's faults.
class ExpressionBuilder {
public:
    ExpressionBuilder(CExpression& expression, CExpSource& source)
        : expression_(expression),
          source_(source),
          stacks_(source.Stacks()),
          operandBase_(stacks_.operands.size()),
          operatorBase_(stacks_.operators.size()),
          softBase_(stacks_.softFaults.size()) {}
    ~ExpressionBuilder() {
        stacks_.operands.resize(operandBase_);
        stacks_.operators.resize(operatorBase_);
        stacks_.softFaults.resize(softBase_);
    }
    ExpressionBuilder(const ExpressionBuilder&) = delete;
    ExpressionBuilder& operator=(const ExpressionBuilder&) = delete;

    bool Build(bool stopAtComma);

private:
    enum class Scanned { Item, End, Failed };

    Scanned ScanItem(bool stopAtComma);
    Scanned ScanName(const Token& token);
    bool Finish();

    static Operand Leaf(Operand::Form form, int32_t height, int32_t token, CExpItem* item);
    void ArriveOperand(const Operand& operand);
    void ArriveItem(CExpItem* item);
    void ArriveToken(Operand::Form form, CExpItem* item = nullptr);
    void ArriveOperator(const Token& token);
    // A "++" or "--" that follows no variable needs one after it.
    void SettleIncrement(bool nextIsVariable);
    void Apply();
    static void Fail(Operand& operand, int position, Diag id);
    // Records the faults of an operand the line is refused for.
    void Refuse(const Operand& operand);
    CExpItem* Materialize(const Operand& operand);

    size_t OperandCount() const { return stacks_.operands.size() - operandBase_; }
    size_t OperatorCount() const { return stacks_.operators.size() - operatorBase_; }

    CExpression& expression_;
    CExpSource& source_;
    ExpressionStacks& stacks_;
    const size_t operandBase_;
    const size_t operatorBase_;
    const size_t softBase_;

    size_t itemCount_ = 0;
    // The last item read: an operand (and whether a variable), or an
    // operator (and whether "++" or "--").
    bool lastWasOperand_ = false;
    bool lastWasVariable_ = false;
    bool lastWasIncrement_ = false;
    int incrementWaiting_ = kNoPosition;
    int misplacedIncrement_ = kNoPosition;
    int firstOutput_ = kNoPosition;   // the first item of the postfix order
    // Items are made only while the tree can still come out whole.
    bool building_ = true;
    bool refused_ = false;   // the line passed the depth bound
};

bool ExpressionBuilder::Build(bool stopAtComma) {
    while (!source_.AtEnd()) {
        // A fault of an item read earlier, or of the line before this
        // expression, ends the scan.
        if (source_.HasDiag()) return false;
        const Scanned scanned = ScanItem(stopAtComma);
        if (scanned == Scanned::Failed || refused_) return false;
        if (scanned == Scanned::End) break;
    }
    // An item at the end of the text may have recorded a fault; building and
    // checking a tree around it would only report the same fault again.
    if (source_.HasDiag()) return false;
    return Finish();
}

// item -> "(" expression ")" | operator | call | literal | element | variable
ExpressionBuilder::Scanned ExpressionBuilder::ScanItem(bool stopAtComma) {
    source_.SkipBlanks();
    const Token token = source_.Current();
    switch (token.kind) {
        case TokenKind::LParen: {
            auto* group = source_.New<CExpKakko>();
            group->SetParent(&expression_);
            group->Parse(source_);
            ArriveItem(group);
            return Scanned::Item;
        }
        case TokenKind::Operator:
            // The "," stays unread for the caller.
            if (stopAtComma && OperatorRow(token.row).code == OP_COMMA) return Scanned::End;
            source_.Advance();
            ArriveOperator(token);
            return Scanned::Item;
        case TokenKind::Name: return ScanName(token);
        case TokenKind::Number:
        case TokenKind::Fraction:
        case TokenKind::Char:
        case TokenKind::String:
            if (token.faulty) {
                source_.TakeFaulty(token);
                return Scanned::Item;
            }
            ArriveToken(Operand::Form::Literal);
            return Scanned::Item;
        default:
            // A character that starts no item ends the expression; the caller
            // decides whether it belongs there.
            return Scanned::End;
    }
}

// A name is looked up once and is then a call, a boolean literal, an array
// element or a variable, in that order of preference.
ExpressionBuilder::Scanned ExpressionBuilder::ScanName(const Token& token) {
    const std::string_view name = source_.Lexer().TextOf(token);
    CExpItem* found = expression_.Lookup(name);
    const ExpKind kind = found != nullptr ? found->Kind() : EXP_ITEM;
    if (kind == EXP_FUNCTION) {
        auto* call = source_.New<CExpFunccall>(static_cast<CExpFunction*>(found), &source_.Arena());
        call->SetParent(&expression_);
        call->Parse(source_);
        ArriveItem(call);
        return Scanned::Item;
    }
    if (name == "true" || name == "false") {
        ArriveToken(Operand::Form::Bool);
        return Scanned::Item;
    }
    if (kind == EXP_VARARRAY) {
        auto* element = source_.New<CExpElementUse>(static_cast<CExpVararray*>(found));
        element->SetParent(&expression_);
        if (element->Parse(source_)) {
            ArriveItem(element);
            return Scanned::Item;
        }
    }
    if (kind == EXP_VARIABLE) {
        ArriveToken(Operand::Form::Variable, found);
        return Scanned::Item;
    }
    // An element that refused its subscripts («a[» for an array a) has
    // already said why; the name is not undefined then.
    if (!source_.HasDiag()) {
        source_.AddDiag(source_.position, Diag::UndefinedName);
        source_.Advance();
    }
    return Scanned::Failed;
}

Operand ExpressionBuilder::Leaf(Operand::Form form, int32_t height, int32_t token, CExpItem* item) {
    return {form, -1, 0, Diag::Count, kNoPosition, height, token, 0, item};
}

void ExpressionBuilder::ArriveItem(CExpItem* item) {
    Operand operand = Leaf(Operand::Form::Item, NestingDepth(*item), -1, item);
    if (operand.height > CExpression::kMaxDepth) {
        Fail(operand, item->Position(), Diag::SyntaxError);
        Refuse(operand);
        return;
    }
    SettleIncrement(false);
    ArriveOperand(operand);
    lastWasVariable_ = false;
}

// A literal or a variable stays its token until an operator takes it.
void ExpressionBuilder::ArriveToken(Operand::Form form, CExpItem* item) {
    const Operand operand = Leaf(form, 0, static_cast<int32_t>(source_.index), item);
    source_.Advance();
    const bool variable = form == Operand::Form::Variable;
    SettleIncrement(variable);
    ArriveOperand(operand);
    lastWasVariable_ = variable;
}

void ExpressionBuilder::ArriveOperand(const Operand& operand) {
    if (firstOutput_ == kNoPosition) {
        firstOutput_ = operand.form == Operand::Form::Item
                           ? operand.item->Position()
                           : source_.Lexer().At(static_cast<size_t>(operand.token)).start;
    }
    stacks_.operands.push_back(operand);
    ++itemCount_;
    lastWasOperand_ = true;
    lastWasIncrement_ = false;
}

void ExpressionBuilder::SettleIncrement(bool nextIsVariable) {
    if (incrementWaiting_ == kNoPosition) return;
    if (!nextIsVariable && misplacedIncrement_ == kNoPosition) {
        misplacedIncrement_ = incrementWaiting_;
        building_ = false;
    }
    incrementWaiting_ = kNoPosition;
}

void ExpressionBuilder::ArriveOperator(const Token& token) {
    PendingOperator c{token.start, token.row, static_cast<int8_t>(OperatorRow(token.row).code),
                      static_cast<uint8_t>(OperatorRow(token.row).precedence), false};
    SettleIncrement(false);
    // A "+" or "-" after an operand (or after "++"/"--") adds or subtracts;
    // the first item of an expression is always a sign.
    if ((c.code == OP_PLUS || c.code == OP_MINUS) && itemCount_ > 0 && (lastWasOperand_ || lastWasIncrement_)) {
        c.row = static_cast<uint8_t>(OperatorRowOf(c.code == OP_PLUS ? OP_ADD : OP_SUB));
        c.code = static_cast<int8_t>(OperatorRow(c.row).code);
        c.precedence = static_cast<uint8_t>(OperatorRow(c.row).precedence);
    }
    // "++" and "--" after a variable are postfix, before one prefix; next to
    // anything else (an array element included) they are refused.
    if (c.code == OP_PRE_INC || c.code == OP_PRE_DEC) {
        if (itemCount_ > 0 && lastWasVariable_) {
            c.code = static_cast<int8_t>(c.code == OP_PRE_INC ? OP_POST_INC : OP_POST_DEC);
        } else {
            incrementWaiting_ = c.position;
        }
    }
    ++itemCount_;
    lastWasOperand_ = false;
    lastWasVariable_ = false;
    lastWasIncrement_ = IsIncrementCode(c.code);

    while (OperatorCount() > 0) {
        PendingOperator& top = stacks_.operators.back();
        if (top.waitsForColon) {
            if (c.code == OP_COLON) {
                // The ":" is taken by the "?" that waited for it.
                top.waitsForColon = false;
                top.precedence = static_cast<uint8_t>(OperatorRow(top.row).precedence);
                return;
            }
            top.precedence = kWaitingPrecedence;
            break;
        }
        if (!Precedes(top, c)) break;
        Apply();
        if (refused_) return;
    }
    c.waitsForColon = c.code == OP_COND;
    stacks_.operators.push_back(c);
}

void ExpressionBuilder::Fail(Operand& operand, int position, Diag id) {
    if (operand.failurePosition != kNoPosition) return;
    operand.failure = id;
    operand.failurePosition = position;
}

// Takes the operator on top of the pending stack off it, with its operands
// off the operand stack, and puts the result on the operand stack. An
// operator short of operands takes what there is.
void ExpressionBuilder::Apply() {
    const PendingOperator op = stacks_.operators.back();
    stacks_.operators.pop_back();
    if (firstOutput_ == kNoPosition) firstOutput_ = op.position;

    const size_t arity = static_cast<size_t>(OperatorRow(op.row).arity);
    const size_t taken = std::min(arity, OperandCount());
    const size_t first = stacks_.operands.size() - taken;
    Operand result{Operand::Form::Item, op.code, op.precedence, Diag::Count, kNoPosition, 0, -1, 0, nullptr};

    // The failures in the order the building from the end meets them: the
    // last operand's tree, then whether that operand may stand there, then
    // the operand before it, and so on.
    bool passedBeforeFirst = false;   // the failure lies in an operand after the first
    bool depthPassed = false;
    for (size_t j = taken; j-- > 0;) {
        const Operand& operand = stacks_.operands[first + j];
        const size_t slot = taken - 1 - j;
        if (operand.failurePosition != kNoPosition) Fail(result, operand.failurePosition, operand.failure);
        if (operand.rootCode >= 0 && operand.rootPrecedence > op.precedence &&
            !IsAllowedLooserOperand(op.code, slot, operand.rootCode)) {
            Fail(result, op.position, Diag::MissingOperand);
        }
        if (operand.height + 1 > CExpression::kMaxDepth) {
            Fail(result, op.position, Diag::SyntaxError);
            depthPassed = true;
        }
        if (j > 0 && result.failurePosition != kNoPosition) passedBeforeFirst = true;
        result.height = std::max(result.height, operand.height + 1);
    }

    // Only an operator that took the bottom operand can hold records of
    // missing operands; an operator short of operands adds its own.
    if (first == operandBase_) {
        const int32_t inherited = taken > 0 ? stacks_.operands[first].softFaults : 0;
        stacks_.softFaults.resize(softBase_ + static_cast<size_t>(inherited));
        if (passedBeforeFirst) {
            result.softFaults = 0;
        } else {
            result.softFaults = inherited;
            if (result.failurePosition == kNoPosition && taken < arity) {
                stacks_.softFaults.push_back({op.position, Diag::MissingOperand});
                ++result.softFaults;
            }
        }
    }

    if (result.failurePosition != kNoPosition) building_ = false;
    if (building_) {
        auto* item = source_.New<CExpOperator>(op.row, op.code, op.precedence, op.position);
        for (size_t j = 0; j < taken; ++j) item->AddOperand(Materialize(stacks_.operands[first + j]));
        result.item = item;
    }
    stacks_.operands.resize(first);
    stacks_.operands.push_back(result);
    if (depthPassed) Refuse(result);
}

// The line passed the depth bound: it is refused at once, with what the
// building from the end would have met before.
void ExpressionBuilder::Refuse(const Operand& operand) {
    for (size_t i = 0; i < static_cast<size_t>(operand.softFaults); ++i) {
        const CExpDiag& record = stacks_.softFaults[softBase_ + i];
        source_.AddDiag(record.position, record.id);
    }
    source_.AddDiag(operand.failurePosition, operand.failure);
    refused_ = true;
}

bool ExpressionBuilder::Finish() {
    SettleIncrement(false);   // a "++" at the end has no variable after it
    if (misplacedIncrement_ != kNoPosition) {
        source_.AddDiag(misplacedIncrement_, Diag::OperandNotVariable);
        return false;
    }
    while (OperatorCount() > 0) {
        Apply();
        if (refused_) return false;
    }
    if (OperandCount() == 0) return false;
    if (OperandCount() > 1) {
        // Only the last subtree is built: its failure, or the operands left
        // before it.
        const Operand& last = stacks_.operands.back();
        if (last.failurePosition != kNoPosition) {
            source_.AddDiag(last.failurePosition, last.failure);
        } else {
            source_.AddDiag(firstOutput_, Diag::MissingOperator);
        }
        return false;
    }
    const Operand root = stacks_.operands.back();
    for (size_t i = 0; i < static_cast<size_t>(root.softFaults); ++i) {
        const CExpDiag& record = stacks_.softFaults[softBase_ + i];
        source_.AddDiag(record.position, record.id);
    }
    if (root.failurePosition != kNoPosition) {
        source_.AddDiag(root.failurePosition, root.failure);
        return false;
    }
    CExpItem* tree = Materialize(root);
    tree->SetParent(&expression_);
    expression_.root_ = tree;
    expression_.depth_ = root.height;
    // An operator short of operands fails its check without a record of its own.
    return expression_.Check(source_);
}

CExpItem* ExpressionBuilder::Materialize(const Operand& operand) {
    if (operand.form == Operand::Form::Item) return operand.item;
    const Token token = source_.Lexer().At(static_cast<size_t>(operand.token));
    CExpItem* item = nullptr;
    switch (operand.form) {
        case Operand::Form::Variable:
            item = source_.New<CExpVariableUse>(static_cast<CExpVariable*>(operand.item));
            break;
        case Operand::Form::Bool:
            item = source_.New<CExpBoolConst>(BoolValue(source_.Lexer().TextOf(token) == "true"));
            break;
        default: {
            const CValueData& value = source_.Lexer().LiteralOf(token);
            switch (token.kind) {
                case TokenKind::Fraction: item = source_.New<CExpFraConst>(value); break;
                case TokenKind::Char: item = source_.New<CExpCharConst>(value); break;
                case TokenKind::String: item = source_.New<CExpStrConst>(value); break;
                default: item = source_.New<CExpNumConst>(value); break;
            }
        }
    }
    item->SetPosition(token.start);
    return item;
}

bool CExpression::ParseExpression(CExpSource& source, bool stopAtComma) {
    if (source.depth > kMaxDepth) {
        source.AddDiag(source.position, Diag::SyntaxError);
        return false;
    }
    const NestingGuard guard(source.depth);
    source.SkipBlanks();
    if (source.AtEnd()) return false;
    SetPosition(source.position);
    ExpressionBuilder builder(*this, source);
    return builder.Build(stopAtComma);
}

bool CExpression::Check(CExpSource& source) {
    if (!checked_) checked_ = CExpItem::Check(source);
    return checked_;
}
