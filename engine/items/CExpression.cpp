#include "engine/items/CExpression.h"

#include <algorithm>
#include <array>

#include "engine/builtins/BuiltinTable.h"
#include "engine/builtins/CBuiltinCall.h"
#include "engine/items/CExpConstant.h"
#include "engine/items/CExpElementUse.h"
#include "engine/items/CExpFunccall.h"
#include "engine/items/CExpFunction.h"
#include "engine/items/CExpKakko.h"
#include "engine/items/CExpOperator.h"
#include "engine/items/CExpVararray.h"
#include "engine/items/CExpVariable.h"
#include "engine/items/CExpVariableUse.h"
#include "value/CArrayData.h"

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

// The literals, read and worked out.
bool IsConstantKind(const CExpItem* item) {
    return item != nullptr && item->Kind() >= EXP_NUM_CONST && item->Kind() <= EXP_BOOL_CONST;
}

// The literal a pure part of the line was worked out to.
CExpItem* NewFoldedConst(CExpSource& source, const CValueData& value, int staticType, bool constant, int position) {
    CExpItem* item = source.New<CExpFoldedConst>(*source.Arena().CopyOf(value), staticType, constant);
    item->SetPosition(position);
    return item;
}

bool IsIncrementCode(int code) {
    return code == OP_PRE_INC || code == OP_PRE_DEC || code == OP_POST_INC || code == OP_POST_DEC;
}

// Whether an operand whose root binds more loosely than its operator may
// still be operand slot (counted from the last) of it: the value of "=" may
// be a "?", and the middle of a "?" may be a ",".
bool IsAllowedLooserOperand(int code, size_t slot, int operandCode) {
    return (code == OP_ASSIGN && slot == 0 && operandCode == OP_COND) ||
           (code == OP_COND && slot == 1 && operandCode == OP_COMMA);
}

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
//
// A pure operator over operands whose values are known is worked out as it
// is applied, with the rules it would run with, and its subtree becomes one
// literal of that value: literals always, variables while nothing the line
// runs before them can change them. Running such a subtree could only give
// that value again; one that would fail is left to the run, which reports it.
//
// A parenthesised group is first read in line, on the same stacks, as if it
// were the expression's own text; if it comes to a value it stands for that
// value as a group item would have. Anything else in it (a fault, an
// operator that cannot be worked out, the end of the line) abandons it: the
// reader goes back to its "(" and reads it again as a group item, which
// gives every diagnostic and every tree exactly as before.
class ExpressionBuilder {
public:
    ExpressionBuilder(CExpression& expression, CExpSource& source)
        : expression_(expression),
          source_(source),
          stacks_(source.Stacks()),
          operandBase_(stacks_.operands.size()),
          operatorBase_(stacks_.operators.size()),
          softBase_(stacks_.softFaults.size()),
          groupBase_(stacks_.groups.size()),
          currentOperandBase_(operandBase_),
          currentOperatorBase_(operatorBase_) {}
    ~ExpressionBuilder() {
        stacks_.operands.resize(operandBase_);
        stacks_.operators.resize(operatorBase_);
        stacks_.softFaults.resize(softBase_);
        stacks_.groups.resize(groupBase_);
    }
    ExpressionBuilder(const ExpressionBuilder&) = delete;
    ExpressionBuilder& operator=(const ExpressionBuilder&) = delete;

    bool Build(bool stopAtComma);

private:
    enum class Scanned { Item, End, Failed };

    Scanned ScanItem(bool stopAtComma);
    Scanned ScanName(const Token& token);
    void ScanGroupItem();
    // The group in line: its "(", its ")", and going back to read the
    // outermost open one as an item.
    bool CanOpenGroup() const;
    void OpenGroup();
    void CloseGroup();
    void ReadGroupAgain();
    size_t OpenGroups() const { return stacks_.groups.size() - groupBase_; }
    bool Finish();

    Operand& PushLeaf(Operand::Form form, int32_t height, int32_t token, CExpItem* item);
    void ArriveItem(CExpItem* item);
    // The current token, as the operand it is.
    void ArriveToken(Operand::Form form, const Token& token, CExpItem* item = nullptr);
    // An element with a plain number for each subscript, whose value can be
    // read now; false, with nothing read, for any other.
    bool ArriveKnownElement(const Token& name, CExpVararray* array);
    // An operand arrived whose text starts at position.
    void ArriveOperand(int position);
    void ArriveOperator(const Token& token);
    // A "++" or "--" that follows no variable needs one after it.
    void SettleIncrement(bool nextIsVariable);

    void Apply();
    bool ApplyFolding(const PendingOperator& op, size_t arity);
    void ApplyBuilding(const PendingOperator& op, size_t arity);
    static void Fail(Operand& operand, int position, Diag id);
    // Records the faults of an operand the line is refused for.
    void Refuse(const Operand& operand);

    bool FoldGroup(Operand& operand) const;
    bool FoldCall(Operand& operand) const;
    // The value an operand is known to have while the line is read; null
    // when it is only known when the line runs.
    const CValueData* KnownValue(const Operand& operand) const;
    const CValueData* KnownValue(CExpItem& item) const;
    const CValueData* KnownElement(const CExpItem& item) const;
    static void TakeValue(Operand& operand, CValueData value, int staticType, bool constant);
    CExpItem* Materialize(const Operand& operand);

    // Counted from the innermost group read in line, or from the expression's
    // start.
    size_t OperandCount() const { return stacks_.operands.size() - currentOperandBase_; }
    size_t OperatorCount() const { return stacks_.operators.size() - currentOperatorBase_; }

    CExpression& expression_;
    CExpSource& source_;
    ExpressionStacks& stacks_;
    const size_t operandBase_;
    const size_t operatorBase_;
    const size_t softBase_;
    const size_t groupBase_;
    size_t currentOperandBase_;
    size_t currentOperatorBase_;

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
    bool abandoned_ = false;   // the groups read in line cannot come to a value
};

bool ExpressionBuilder::Build(bool stopAtComma) {
    for (;;) {
        // A fault of an item read earlier, or of the line before this
        // expression, ends the scan.
        const Scanned scanned = source_.AtEnd()     ? Scanned::End
                                : source_.HasDiag() ? Scanned::Failed
                                                    : ScanItem(stopAtComma);
        if (OpenGroups() > 0) {
            if (scanned != Scanned::Item || abandoned_ || refused_ || source_.HasDiag()) ReadGroupAgain();
            continue;
        }
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
    const Token token = source_.SkipToCurrent();
    switch (token.kind) {
        case TokenKind::LParen:
            if (CanOpenGroup()) {
                OpenGroup();
            } else {
                ScanGroupItem();
            }
            return Scanned::Item;
        case TokenKind::RParen:
            if (OpenGroups() == 0) return Scanned::End;
            CloseGroup();
            return Scanned::Item;
        case TokenKind::Operator:
            // The "," stays unread for the caller.
            if (stopAtComma && OpenGroups() == 0 && OperatorRow(token.row).code == OP_COMMA) return Scanned::End;
            source_.AdvancePast(token);
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
            ArriveToken(Operand::Form::Literal, token);
            return Scanned::Item;
        default:
            // A character that starts no item ends the expression; the caller
            // decides whether it belongs there.
            return Scanned::End;
    }
}

void ExpressionBuilder::ScanGroupItem() {
    auto* group = source_.New<CExpKakko>();
    group->SetParent(&expression_);
    group->Parse(source_);
    ArriveItem(group);
}

// Only a group that may come to a value is read in line: folding is on, the
// tree can still come out whole, no "++" waits for it, and neither the
// nesting nor the text read twice can grow without bound.
bool ExpressionBuilder::CanOpenGroup() const {
    if (OpenGroups() == 0) {
        return source_.inlineGroups && source_.Folds() && building_ && incrementWaiting_ == kNoPosition &&
               source_.depth < CExpression::kMaxDepth;
    }
    return OpenGroups() < CExpression::kMaxGroupsInLine && source_.depth < CExpression::kMaxDepth;
}

void ExpressionBuilder::OpenGroup() {
    const Token token = source_.Current();
    stacks_.groups.push_back({stacks_.operands.size(), stacks_.operators.size(), source_.index, token.start,
                              firstOutput_, itemCount_, lastWasOperand_, lastWasVariable_, lastWasIncrement_,
                              source_.mayChangeVariables});
    // Expressions parsed inside (arguments, subscripts) read their groups as
    // items, so that reading this one again reads them only once more.
    source_.inlineGroups = false;
    ++source_.depth;
    currentOperandBase_ = stacks_.operands.size();
    currentOperatorBase_ = stacks_.operators.size();
    // As a group item, it is the first output when nothing came before it.
    if (firstOutput_ == kNoPosition) firstOutput_ = token.start;
    itemCount_ = 0;
    lastWasOperand_ = false;
    lastWasVariable_ = false;
    lastWasIncrement_ = false;
    source_.Advance();
}

// The group's operators are applied; a group that came to a value stands
// for it as a group item's value would.
void ExpressionBuilder::CloseGroup() {
    while (OperatorCount() > 0) {
        Apply();
        if (abandoned_ || refused_) return;
    }
    // An empty group, or one of two operands without an operator, is for
    // the group item to report.
    if (OperandCount() != 1) {
        abandoned_ = true;
        return;
    }
    Operand& inner = stacks_.operands.back();
    if ((inner.form != Operand::Form::Literal && inner.form != Operand::Form::Bool && inner.form != Operand::Form::Value) ||
        inner.height + 1 > CExpression::kMaxDepth) {
        abandoned_ = true;
        return;
    }
    const ExpressionStacks::Group group = stacks_.groups.back();
    stacks_.groups.pop_back();
    --source_.depth;
    if (OpenGroups() == 0) source_.inlineGroups = true;
    currentOperandBase_ = OpenGroups() > 0 ? stacks_.groups.back().operandBase : operandBase_;
    currentOperatorBase_ = OpenGroups() > 0 ? stacks_.groups.back().operatorBase : operatorBase_;
    if (inner.form != Operand::Form::Value) {
        inner.value = *inner.literal;
        inner.constant = true;
        inner.form = Operand::Form::Value;
    }
    inner.rootCode = -1;
    inner.rootPrecedence = 0;
    inner.height += 1;
    inner.position = group.position;
    itemCount_ = group.itemCount;
    ArriveOperand(group.position);
    lastWasVariable_ = false;
    source_.Advance();
}

// Back to the outermost group read in line, which is read again as an item,
// with its inner groups.
void ExpressionBuilder::ReadGroupAgain() {
    const ExpressionStacks::Group group = stacks_.groups[groupBase_];
    source_.depth -= static_cast<int>(OpenGroups());
    stacks_.groups.resize(groupBase_);
    stacks_.operands.resize(group.operandBase);
    stacks_.operators.resize(group.operatorBase);
    currentOperandBase_ = operandBase_;
    currentOperatorBase_ = operatorBase_;
    source_.index = group.token;
    source_.position = group.position;
    source_.mayChangeVariables = group.mayChangeVariables;
    // The scan stops at the first fault, so there was none before the group.
    source_.diags.Clear();
    firstOutput_ = group.firstOutput;
    itemCount_ = group.itemCount;
    lastWasOperand_ = group.lastWasOperand;
    lastWasVariable_ = group.lastWasVariable;
    lastWasIncrement_ = group.lastWasIncrement;
    abandoned_ = false;
    refused_ = false;
    ScanGroupItem();
    source_.inlineGroups = true;
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
        ArriveToken(Operand::Form::Bool, token);
        return Scanned::Item;
    }
    if (kind == EXP_VARARRAY) {
        if (ArriveKnownElement(token, static_cast<CExpVararray*>(found))) return Scanned::Item;
        auto* element = source_.New<CExpElementUse>(static_cast<CExpVararray*>(found));
        element->SetParent(&expression_);
        if (element->Parse(source_)) {
            ArriveItem(element);
            return Scanned::Item;
        }
    }
    if (kind == EXP_VARIABLE) {
        ArriveToken(Operand::Form::Variable, token, found);
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

Operand& ExpressionBuilder::PushLeaf(Operand::Form form, int32_t height, int32_t token, CExpItem* item) {
    Operand& operand = stacks_.operands.emplace_back();
    operand.form = form;
    operand.rootCode = -1;
    operand.rootPrecedence = 0;
    operand.constant = false;
    operand.failure = Diag::Count;
    operand.failurePosition = kNoPosition;
    operand.height = height;
    operand.token = token;
    operand.softFaults = 0;
    operand.staticType = 0;
    operand.position = 0;
    operand.item = item;
    operand.literal = nullptr;
    return operand;
}

// A group that came to a value, and a call of a pure built-in whose
// arguments did, stand for their value from here on. What a group or a
// subscript changes was noted while it was read; a call may change anything.
void ExpressionBuilder::ArriveItem(CExpItem* item) {
    const int height = NestingDepth(*item);
    if (height > CExpression::kMaxDepth) {
        Operand refused = {};
        refused.failure = Diag::SyntaxError;
        refused.failurePosition = item->Position();
        Refuse(refused);
        return;
    }
    SettleIncrement(false);
    Operand& operand = PushLeaf(Operand::Form::Item, height, -1, item);
    operand.staticType = item->ValueType();
    if (!FoldGroup(operand) && !FoldCall(operand) && item->Kind() == EXP_FUNCCALL) source_.mayChangeVariables = true;
    ArriveOperand(item->Position());
    lastWasVariable_ = false;
}

// A literal or a variable stays its token until an operator takes it.
void ExpressionBuilder::ArriveToken(Operand::Form form, const Token& token, CExpItem* item) {
    const bool variable = form == Operand::Form::Variable;
    SettleIncrement(variable);
    Operand& operand = PushLeaf(form, 0, static_cast<int32_t>(source_.index), item);
    if (variable) {
        operand.staticType = item->ValueType();
    } else {
        operand.literal = form == Operand::Form::Bool ? &BoolValue(source_.Lexer().TextOf(token) == "true")
                                                      : &source_.Lexer().LiteralOf(token);
        operand.staticType = static_cast<int32_t>(operand.literal->Type());
    }
    source_.AdvancePast(token);
    ArriveOperand(token.start);
    lastWasVariable_ = variable;
}

bool ExpressionBuilder::ArriveKnownElement(const Token& name, CExpVararray* array) {
    // Only an element that may be worked out is worth it; the item it
    // stands for is made from its text when it is needed.
    const CArrayData* storage = array->Storage();
    if (storage == nullptr || !source_.Folds() || !building_ || source_.mayChangeVariables ||
        source_.depth > CExpression::kMaxDepth) {
        return false;
    }
    const size_t dimensions = storage->Dims().size();
    std::array<int32_t, 8> index{};
    if (dimensions == 0 || dimensions > index.size()) return false;
    CLexer& lexer = source_.Lexer();
    size_t at = source_.index + 1;
    for (size_t i = 0; i < dimensions; ++i, at += 3) {
        const Token open = lexer.At(at);
        const Token number = lexer.At(at + 1);
        if (open.kind != TokenKind::LBracket || number.kind != TokenKind::Number || number.faulty ||
            lexer.At(at + 2).kind != TokenKind::RBracket || lexer.LiteralOf(number).Type() != VTYPE_INT) {
            return false;
        }
        index[i] = lexer.LiteralOf(number).AsInt();
    }
    // One more bracket would be one more subscript.
    if (lexer.At(at).kind == TokenKind::LBracket) return false;
    const CValueData* value = storage->ElementAt(std::span<const int32_t>(index).first(dimensions));
    if (value == nullptr) return false;
    SettleIncrement(false);
    // The element item's tree: the element, its bracket list, the numbers.
    constexpr int32_t kElementHeight = 2;
    Operand& operand = PushLeaf(Operand::Form::Element, kElementHeight, static_cast<int32_t>(source_.index), array);
    operand.literal = value;
    operand.staticType = array->ValueType();
    source_.index = at - 1;
    source_.AdvancePast(lexer.At(at - 1));
    ArriveOperand(name.start);
    lastWasVariable_ = false;
    return true;
}

void ExpressionBuilder::ArriveOperand(int position) {
    if (firstOutput_ == kNoPosition) firstOutput_ = position;
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
    const OperatorDef& def = OperatorRow(token.row);
    // A group with an operator that writes a variable never comes to a value.
    if (OpenGroups() > 0 && CExpOperator::WritesVariable(def.code)) {
        abandoned_ = true;
        return;
    }
    PendingOperator c{token.start, token.row, static_cast<int8_t>(def.code), static_cast<uint8_t>(def.precedence),
                      false};
    SettleIncrement(false);
    // A "+" or "-" after an operand (or after "++"/"--") adds or subtracts;
    // the first item of an expression is always a sign.
    if (itemCount_ > 0 && (lastWasOperand_ || lastWasIncrement_)) {
        c.row = static_cast<uint8_t>(RowAfterOperand(c.row));
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
        if (!AppliesBefore(top, c)) break;
        Apply();
        if (refused_ || abandoned_) return;
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
    const auto arity = static_cast<size_t>(OperatorRow(op.row).arity);
    if (ApplyFolding(op, arity)) return;
    if (OpenGroups() > 0) {
        abandoned_ = true;
        return;
    }
    ApplyBuilding(op, arity);
}

// The common case: a pure operator with all its operands, whose values are
// known and whose trees are sound, is worked out in place: the result takes
// the place of the first operand.
bool ExpressionBuilder::ApplyFolding(const PendingOperator& op, size_t arity) {
    if (!building_ || !source_.Folds() || arity == 0 || arity > 2 || OperandCount() < arity) return false;
    Operand* operands = stacks_.operands.data() + stacks_.operands.size() - arity;
    // The value of operand j (of the arity), or null when it cannot be
    // worked out with this operator: a looser operator below a tighter one,
    // or too deep a tree, is for the building to report.
    const auto known = [&](size_t j) -> const CValueData* {
        const Operand& operand = operands[j];
        if (operand.failurePosition != kNoPosition || operand.height >= CExpression::kMaxDepth) return nullptr;
        if (operand.rootCode >= 0 && operand.rootPrecedence > op.precedence &&
            !IsAllowedLooserOperand(op.code, arity - 1 - j, operand.rootCode)) {
            return nullptr;
        }
        return KnownValue(operand);
    };
    // Literals are constants, variables are not; a value worked out knows
    // which it came from.
    const auto constant = [](const Operand& operand) {
        return operand.form == Operand::Form::Value ? operand.constant : operand.form != Operand::Form::Variable;
    };
    const CValueData* left = known(0);
    if (left == nullptr) return false;
    Operand& result = operands[0];
    int type = 0;
    if (arity == 1) {
        if (!CExpOperator::Fold(op.code, *left, nullptr, result.staticType, 0, result.value, type)) return false;
        result.constant = constant(result);
        result.height += 1;
    } else {
        const Operand& second = operands[1];
        const CValueData* right = known(1);
        if (right == nullptr ||
            !CExpOperator::Fold(op.code, *left, right, result.staticType, second.staticType, result.value, type)) {
            return false;
        }
        result.constant = constant(result) && constant(second);
        result.height = std::max(result.height, second.height) + 1;
        stacks_.operands.pop_back();
    }
    result.form = Operand::Form::Value;
    result.rootCode = op.code;
    result.rootPrecedence = op.precedence;
    result.staticType = type;
    result.position = op.position;
    result.item = nullptr;
    return true;
}

void ExpressionBuilder::ApplyBuilding(const PendingOperator& op, size_t arity) {
    const size_t taken = std::min(arity, OperandCount());
    const size_t first = stacks_.operands.size() - taken;
    Operand result{};
    result.form = Operand::Form::Item;
    result.rootCode = op.code;
    result.rootPrecedence = op.precedence;
    result.failure = Diag::Count;
    result.failurePosition = kNoPosition;
    result.position = op.position;

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
        auto* item = source_.New<CExpOperator>(op.row, op.code, op.position);
        for (size_t j = 0; j < taken; ++j) item->AddOperand(Materialize(stacks_.operands[first + j]));
        result.item = item;
        result.staticType = item->ValueType();
    }
    // The operator changes a variable at this point of the line's run, which
    // is the point the parser has reached.
    if (CExpOperator::WritesVariable(op.code)) source_.mayChangeVariables = true;
    stacks_.operands.resize(first);
    stacks_.operands.push_back(std::move(result));
    if (depthPassed) Refuse(stacks_.operands.back());
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
    const Operand& root = stacks_.operands.back();
    for (size_t i = 0; i < static_cast<size_t>(root.softFaults); ++i) {
        const CExpDiag& record = stacks_.softFaults[softBase_ + i];
        source_.AddDiag(record.position, record.id);
    }
    if (root.failurePosition != kNoPosition) {
        source_.AddDiag(root.failurePosition, root.failure);
        return false;
    }
    return expression_.TakeRoot(source_, Materialize(root), root.height);
}

// A group whose expression is a literal or came to a value.
bool ExpressionBuilder::FoldGroup(Operand& operand) const {
    if (!source_.Folds() || operand.item->Kind() != EXP_KAKKO) return false;
    const CExpItem* root = ThroughParentheses(*operand.item);
    if (!IsConstantKind(root)) return false;
    const auto& constant = static_cast<const CExpConstant&>(*root);
    TakeValue(operand, constant.Value(), constant.ValueType(), constant.IsConstant());
    return true;
}

// A call of a pure built-in over arguments whose values are known, which the
// built-in accepts: it is run now, exactly as it would run with the line.
bool ExpressionBuilder::FoldCall(Operand& operand) const {
    if (!source_.Folds() || operand.item->Kind() != EXP_FUNCCALL) return false;
    const auto& call = static_cast<const CExpFunccall&>(*operand.item);
    const int number = call.Callee()->Number();
    if (number < 0 || number >= BUILTIN_COUNT || !BuiltinTable()[static_cast<size_t>(number)].IsPure()) return false;
    std::array<CValueData, 3> arguments;
    // A call that recorded a fault is not run: the line fails with it.
    if (call.ChildCount() > arguments.size() || source_.HasDiag()) return false;
    for (size_t i = 0; i < call.ChildCount(); ++i) {
        const CValueData* value = KnownValue(*call.Child(i));
        if (value == nullptr) return false;
        arguments[i] = *value;
    }
    CBuiltinCall run(number, std::span<const CValueData>(arguments).first(call.ChildCount()));
    try {
        if (!BuiltinImplementation(number)(run)) return false;
    } catch (...) {
        return false;   // the run of the line fails in the same way
    }
    TakeValue(operand, run.Result(), call.Callee()->ValueType(), false);
    return true;
}

const CValueData* ExpressionBuilder::KnownValue(const Operand& operand) const {
    switch (operand.form) {
        case Operand::Form::Value: return &operand.value;
        case Operand::Form::Literal:
        case Operand::Form::Bool: return operand.literal;
        case Operand::Form::Variable:
            return source_.mayChangeVariables ? nullptr : static_cast<const CExpVariable*>(operand.item)->Value();
        case Operand::Form::Element: return source_.mayChangeVariables ? nullptr : operand.literal;
        case Operand::Form::Item:
            return operand.item->Kind() == EXP_ELEMENT_USE ? KnownElement(*operand.item) : nullptr;
    }
    return nullptr;
}

// An element whose subscripts are known, read while nothing can change it.
const CValueData* ExpressionBuilder::KnownElement(const CExpItem& item) const {
    if (source_.mayChangeVariables) return nullptr;
    const auto& element = static_cast<const CExpElementUse&>(item);
    const CArrayData* storage = element.Array()->Storage();
    const CExpItem* subscripts = element.ChildCount() == 1 ? element.Child(0) : nullptr;
    if (storage == nullptr || subscripts == nullptr || subscripts->ChildCount() != storage->Dims().size()) return nullptr;
    std::array<int32_t, 8> index{};
    if (subscripts->ChildCount() > index.size()) return nullptr;
    for (size_t i = 0; i < subscripts->ChildCount(); ++i) {
        const CValueData* value = KnownValue(*subscripts->Child(i));
        // A subscript is converted as the run converts it; a fraction or a
        // string is left to the run.
        if (value == nullptr || !IsNumericType(value->Type()) || value->Type() == VTYPE_FRACTION) return nullptr;
        index[i] = value->AsInt();
    }
    return storage->ElementAt(std::span<const int32_t>(index).first(subscripts->ChildCount()));
}

// An argument or a subscript: a literal, a value worked out, or a variable,
// in parentheses or not.
const CValueData* ExpressionBuilder::KnownValue(CExpItem& item) const {
    const CExpItem* root = ThroughParentheses(item);
    if (root == nullptr) return nullptr;
    if (IsConstantKind(root)) return &static_cast<const CExpConstant*>(root)->Value();
    if (root->Kind() == EXP_VARIABLE_USE && !source_.mayChangeVariables) {
        return static_cast<const CExpVariableUse*>(root)->Variable()->Value();
    }
    return nullptr;
}

void ExpressionBuilder::TakeValue(Operand& operand, CValueData value, int staticType, bool constant) {
    operand.form = Operand::Form::Value;
    operand.value = std::move(value);
    operand.staticType = staticType;
    operand.constant = constant;
    operand.position = operand.item->Position();
}

CExpItem* ExpressionBuilder::Materialize(const Operand& operand) {
    CExpItem* item = nullptr;
    switch (operand.form) {
        case Operand::Form::Item: return operand.item;
        case Operand::Form::Value:
            return NewFoldedConst(source_, operand.value, operand.staticType, operand.constant, operand.position);
        case Operand::Form::Element: {
            // Read again from its name: with plain numbers for subscripts it
            // comes out without a fault.
            const size_t index = source_.index;
            const int position = source_.position;
            source_.index = static_cast<size_t>(operand.token);
            source_.position = source_.Lexer().At(source_.index).start;
            auto* element = source_.New<CExpElementUse>(static_cast<CExpVararray*>(operand.item));
            element->SetParent(&expression_);
            element->Parse(source_);
            source_.index = index;
            source_.position = position;
            return element;
        }
        case Operand::Form::Variable: item = source_.New<CExpVariableUse>(static_cast<CExpVariable*>(operand.item)); break;
        case Operand::Form::Bool: item = source_.New<CExpBoolConst>(*operand.literal); break;
        case Operand::Form::Literal: {
            const Token token = source_.Lexer().At(static_cast<size_t>(operand.token));
            switch (token.kind) {
                case TokenKind::Fraction: item = source_.New<CExpFraConst>(*operand.literal); break;
                case TokenKind::Char: item = source_.New<CExpCharConst>(*operand.literal); break;
                case TokenKind::String: item = source_.New<CExpStrConst>(*operand.literal); break;
                default: item = source_.New<CExpNumConst>(*operand.literal); break;
            }
            break;
        }
    }
    item->SetPosition(source_.Lexer().At(static_cast<size_t>(operand.token)).start);
    return item;
}

bool CExpression::ParseExpression(CExpSource& source, bool stopAtComma) {
    if (source.depth > kMaxDepth) {
        source.AddDiag(source.position, Diag::SyntaxError);
        return false;
    }
    const NestingLevel level(source);
    source.SkipBlanks();
    if (source.AtEnd()) return false;
    SetPosition(source.position);
    // Most lines are literal arithmetic; what they come to needs no builder.
    LiteralArithmetic::Result folded;
    if (source.FoldsLiteralArithmetic() && source.inlineGroups && !source.HasDiag() &&
        source.Arithmetic().Fold(source, stopAtComma, folded)) {
        return TakeRoot(source, NewFoldedConst(source, *folded.value, folded.staticType, true, folded.position),
                        folded.height);
    }
    ExpressionBuilder builder(*this, source);
    return builder.Build(stopAtComma);
}

bool CExpression::TakeRoot(CExpSource& source, CExpItem* tree, int height) {
    tree->SetParent(this);
    root_ = tree;
    depth_ = height;
    // An operator short of operands fails its check without a record of its own.
    return Check(source);
}

CExpItem* CExpression::ParseLoneOperand(CExpSource& source, const CExpItem& context, TokenKind closer) {
    // An expression would refuse to start here, or stop before reading.
    if (source.HasDiag() || source.depth > kMaxDepth) return nullptr;
    const Token token = source.Current();
    const Token next = source.Lexer().At(source.index + 1);
    const bool closes = next.kind == closer || (closer == TokenKind::RParen && next.kind == TokenKind::Operator &&
                                                OperatorRow(next.row).code == OP_COMMA);
    if (token.faulty || !closes) return nullptr;
    CExpItem* item = nullptr;
    if (token.kind == TokenKind::Number) {
        item = source.New<CExpNumConst>(source.Lexer().LiteralOf(token));
    } else if (token.kind == TokenKind::Name) {
        const std::string_view name = source.Lexer().TextOf(token);
        CExpItem* found = context.Lookup(name);
        if (found == nullptr || found->Kind() != EXP_VARIABLE || name == "true" || name == "false") return nullptr;
        item = source.New<CExpVariableUse>(static_cast<CExpVariable*>(found));
    } else {
        return nullptr;
    }
    item->SetPosition(token.start);
    source.Advance();
    return item;
}

bool CExpression::Check(CExpSource& source) {
    if (!checked_) checked_ = CExpItem::Check(source);
    return checked_;
}
