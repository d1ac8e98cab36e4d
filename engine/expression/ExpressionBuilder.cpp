#include "engine/expression/ExpressionBuilder.h"

#include "engine/expression/LiteralArithmetic.h"
#include "engine/expression/ReadingRules.h"
#include "engine/items/CExpElementUse.h"
#include "engine/items/CExpFunccall.h"
#include "engine/items/CExpFunction.h"
#include "engine/items/CExpKakko.h"
#include "engine/items/CExpVararray.h"
#include "engine/items/CExpression.h"

ExpressionBuilder::ExpressionBuilder(CExpression& expression, CExpSource& source, size_t declinedRest)
    : expression_(expression),
      source_(source),
      known_(source),
      operands_(source, source.Workspace().expressions.stacks, known_),
      operators_(source.Workspace().expressions.stacks.operators),
      groups_(source, source.Workspace().expressions.stacks),
      declinedRest_(declinedRest) {}

bool ExpressionBuilder::Build(bool stopAtComma) {
    stopAtComma_ = stopAtComma;
    for (;;) {
        // A fault of an item read earlier, or of the line before this
        // expression, ends the scan.
        const Scanned scanned = source_.AtEnd()     ? Scanned::End
                                : source_.HasDiag() ? Scanned::Failed
                                                    : ScanItem(stopAtComma);
        if (groups_.Open() > 0) {
            if (scanned != Scanned::Item || groups_.Abandoned() || source_.HasDiag()) ReadGroupAgain();
            continue;
        }
        if (scanned == Scanned::Failed || operands_.Refused()) return false;
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
    // The caller decides whether the token that ends the expression belongs
    // there.
    if (EndsExpression(token, stopAtComma, groups_.Open())) return Scanned::End;
    switch (token.kind) {
        case TokenKind::LParen:
            if (MayOpenGroup()) {
                OpenGroup();
            } else {
                ScanGroupItem();
            }
            return Scanned::Item;
        case TokenKind::RParen: CloseGroup(); return Scanned::Item;
        case TokenKind::Operator:
            source_.AdvancePast(token);
            ArriveOperator(token);
            return Scanned::Item;
        case TokenKind::Name: return ScanName(token);
        default: break;
    }
    if (IsLiteralOperand(token)) {
        ArriveToken(Operand::Form::Literal, token);
    } else {
        source_.TakeFaulty(token);
    }
    return Scanned::Item;
}

void ExpressionBuilder::ScanGroupItem() {
    auto* group = source_.Workspace().New<CExpKakko>();
    group->SetParent(&expression_);
    group->Parse(source_);
    ArriveItem(group);
}

// A name is looked up once and is then a call, a boolean literal, an array
// element or a variable (UseOfName).
ExpressionBuilder::Scanned ExpressionBuilder::ScanName(const Token& token) {
    const std::string_view name = source_.Lexer().TextOf(token);
    CExpItem* found = expression_.Lookup(name);
    ParseWorkspace& workspace = source_.Workspace();
    switch (UseOfName(found != nullptr ? found->Kind() : EXP_ITEM, name)) {
        case NameUse::Call: {
            auto* call = workspace.New<CExpFunccall>(static_cast<CExpFunction*>(found), &workspace.arena);
            call->SetParent(&expression_);
            call->Parse(source_);
            ArriveItem(call);
            return Scanned::Item;
        }
        case NameUse::Bool: ArriveToken(Operand::Form::Bool, token); return Scanned::Item;
        case NameUse::Element: {
            if (ArriveKnownElement(token, static_cast<CExpVararray*>(found))) return Scanned::Item;
            auto* element = workspace.New<CExpElementUse>(static_cast<CExpVararray*>(found));
            element->SetParent(&expression_);
            if (element->Parse(source_)) {
                ArriveItem(element);
                return Scanned::Item;
            }
            break;
        }
        case NameUse::Variable: ArriveToken(Operand::Form::Variable, token, found); return Scanned::Item;
        case NameUse::Undefined: break;
    }
    // An element that refused its subscripts («a[» for an array a) has
    // already said why; the name is not undefined then.
    if (!source_.HasDiag()) {
        source_.AddDiag(source_.position, Diag::UndefinedName);
        source_.Advance();
    }
    return Scanned::Failed;
}

// Only a group that may come to a value is read in line: folding is on, the
// tree can still come out whole, no "++" waits for it, the expression is
// not inside a group being read again, and neither the nesting nor the text
// read twice can grow without bound.
bool ExpressionBuilder::MayOpenGroup() const {
    if (!MayReadGroupInLine(groups_.Open(), source_.depth)) return false;
    return groups_.Open() > 0 ||
           (source_.inlineGroups && known_.Folding() && operands_.Building() && increments_.waiting < 0);
}

void ExpressionBuilder::OpenGroup() {
    const int32_t position = source_.position;
    groups_.OpenHere({operands_.Size(), operators_.Size(), source_.Save(), scan_});
    CountFromInnermostGroup();
    // As a group item, it is the first output when nothing came before it.
    if (scan_.firstOutput < 0) scan_.firstOutput = position;
    scan_.itemCount = 0;
    scan_.lastWasOperand = false;
    scan_.lastWasVariable = false;
    scan_.lastWasIncrement = false;
}

// The group's operators are applied; a group that came to a value stands
// for it as a group item's value would.
void ExpressionBuilder::CloseGroup() {
    while (operators_.Count() > 0) {
        Apply();
        if (groups_.Abandoned()) return;
    }
    // An empty group, or one of two operands without an operator, is for
    // the group item to report.
    if (operands_.Count() != 1) {
        groups_.Abandon();
        return;
    }
    Operand& inner = operands_.Top();
    if (!GroupComesToValue(inner.form) || !FitsDepth(inner.height + 1)) {
        groups_.Abandon();
        return;
    }
    const GroupInLine group = groups_.Close();
    CountFromInnermostGroup();
    if (inner.form != Operand::Form::Value) {
        inner.value = *inner.literal;
        inner.constant = IsConstantOperand(inner.form, inner.constant);
        inner.form = Operand::Form::Value;
    }
    inner.root = {OP_NONE, Level::Waiting};
    inner.height += 1;
    inner.position = group.cursor.position;
    scan_.itemCount = group.scan.itemCount;
    ArriveOperand(group.cursor.position);
    scan_.lastWasVariable = false;
    source_.Advance();
}

// The scan stops at the first fault, so the cursor held none at the "(".
void ExpressionBuilder::ReadGroupAgain() {
    const GroupInLine group = groups_.Unread();
    operands_.DropFrom(group.operandBase);
    operators_.DropFrom(group.operatorBase);
    CountFromInnermostGroup();
    scan_ = group.scan;
    // Read again as an item, with no group in it read in line.
    source_.inlineGroups = false;
    ScanGroupItem();
    source_.inlineGroups = true;
}

// The stacks count from the "(" of the innermost group read in line, or from
// the expression's start.
void ExpressionBuilder::CountFromInnermostGroup() {
    const bool open = groups_.Open() > 0;
    operands_.CountFrom(open ? groups_.Innermost().operandBase : operands_.Base());
    operators_.CountFrom(open ? groups_.Innermost().operatorBase : operators_.Base());
}

// A group that came to a value, and a call of a pure built-in whose
// arguments did, stand for their value from here on. What a group or a
// subscript changes was noted while it was read; a call may change anything.
void ExpressionBuilder::ArriveItem(CExpItem* item) {
    const int height = NestingDepth(*item);
    if (!FitsDepth(height)) {
        // In a group read in line, the group is read again as an item, which
        // refuses the line then.
        if (groups_.Open() > 0) {
            groups_.Abandon();
            return;
        }
        Operand refused;
        refused.failure = {item->Position(), Diag::SyntaxError};
        operands_.Refuse(refused);
        return;
    }
    SettleIncrement(false);
    Operand& operand = operands_.Push(Operand::Form::Item, item->Position(), item);
    operand.height = height;
    operand.staticType = item->ValueType();
    if (!known_.TakeGroup(operand) && !known_.TakeCall(operand) && item->Kind() == EXP_FUNCCALL) {
        source_.mayChangeVariables = true;
    }
    ArriveOperand(item->Position());
    scan_.lastWasVariable = false;
}

// A literal or a variable stays its token until an operator takes it.
void ExpressionBuilder::ArriveToken(Operand::Form form, const Token& token, CExpItem* item) {
    const bool variable = form == Operand::Form::Variable;
    SettleIncrement(variable);
    Operand& operand = operands_.Push(form, token.start, item);
    operand.token = static_cast<int32_t>(source_.index);
    if (variable) {
        operand.staticType = item->ValueType();
    } else {
        operand.literal = form == Operand::Form::Bool ? &KnownValues::OfBoolWord(source_.Lexer().TextOf(token))
                                                      : &source_.Lexer().LiteralOf(token);
        operand.staticType = static_cast<int32_t>(operand.literal->Type());
    }
    source_.AdvancePast(token);
    ArriveOperand(token.start);
    scan_.lastWasVariable = variable;
}

bool ExpressionBuilder::ArriveKnownElement(const Token& name, CExpVararray* array) {
    // Only an element that may be worked out is worth it; where an
    // expression may not begin, its subscripts are read as an item, which
    // refuses them.
    size_t last = 0;
    const CValueData* value = nullptr;
    if (operands_.Building() && MayNestAt(source_.depth)) value = known_.OfElementText(*array, source_.index, last);
    if (value == nullptr) return false;
    SettleIncrement(false);
    Operand& operand = operands_.Push(Operand::Form::Element, name.start, array);
    operand.height = kKnownElementHeight;
    operand.token = static_cast<int32_t>(source_.index);
    operand.literal = value;
    operand.staticType = array->ValueType();
    source_.index = last;
    source_.AdvancePast(source_.Lexer().At(last));
    ArriveOperand(name.start);
    scan_.lastWasVariable = false;
    return true;
}

void ExpressionBuilder::ArriveOperand(int position) {
    if (scan_.firstOutput < 0) scan_.firstOutput = position;
    ++scan_.itemCount;
    scan_.lastWasOperand = true;
    scan_.lastWasIncrement = false;
}

void ExpressionBuilder::SettleIncrement(bool nextIsVariable) {
    if (increments_.waiting < 0) return;
    if (!nextIsVariable && increments_.misplaced < 0) {
        increments_.misplaced = increments_.waiting;
        operands_.StopBuilding();
    }
    increments_.waiting = -1;
}

void ExpressionBuilder::ArriveOperator(const Token& token) {
    // After "++" or "--" a sign adds or subtracts, as after an operand.
    const bool afterOperand = scan_.itemCount > 0 && (scan_.lastWasOperand || scan_.lastWasIncrement);
    int code = ArrivingCode(token.row, afterOperand);
    const OperatorDef& row = OperatorRow(code);
    // A group with an operator that writes a variable never comes to a value.
    if (groups_.Open() > 0 && row.special.writesVariable) {
        groups_.Abandon();
        return;
    }
    SettleIncrement(false);
    // "++" and "--" after a variable are postfix, before one prefix; next to
    // anything else (an array element included) they are refused.
    const bool increment = IsIncrement(row);
    if (increment && row.special.afterVariable != OP_NONE) {
        if (scan_.itemCount > 0 && scan_.lastWasVariable) {
            code = row.special.afterVariable;
        } else {
            increments_.waiting = token.start;
        }
    }
    const PendingOperator arriving = Arriving(code, token.start);
    ++scan_.itemCount;
    scan_.lastWasOperand = false;
    scan_.lastWasVariable = false;
    scan_.lastWasIncrement = increment;

    while (operators_.Count() > 0) {
        PendingOperator& top = operators_.Top();
        if (top.role == PendingOperator::Role::Waiting) {
            if (OperatorRow(code).special.closes == top.code) {
                // The ":" is taken by the "?" that waited for it, which now
                // binds as its row says.
                top.role = PendingOperator::Role::Plain;
                top.level = OperatorRow(top.code).binds.left;
                return;
            }
            top.level = Level::Waiting;
            break;
        }
        if (!AppliesBefore(top, arriving)) break;
        Apply();
        if (operands_.Refused() || groups_.Abandoned()) return;
    }
    operators_.Push(arriving);
    WorkOutRightOperand(arriving);
}

// Only where the tree can still come out whole, no "++" waits for an
// operand, and no group is read in line, whose own reading goes on; and only
// after an operand (the first item of the postfix order is known), as the
// operand then stands where the builder would have put it.
void ExpressionBuilder::WorkOutRightOperand(const PendingOperator& pushed) {
    if (OperatorRow(pushed.code).operands != 2 || pushed.right > Level::Comma) return;
    ExpressionWorkspace& reading = source_.Workspace().expressions;
    if (!reading.LiteralPassMayRead(source_, source_.HasDiag()) || groups_.Open() > 0 || !operands_.Building() ||
        increments_.waiting >= 0 || scan_.firstOutput < 0 || source_.index == declinedRest_) {
        return;
    }
    LiteralArithmetic::Result worked;
    if (!reading.literalArithmetic.WorkOut(source_, expression_, stopAtComma_, pushed.right, worked)) return;
    Operand& operand = operands_.Push(Operand::Form::Value, worked.position, nullptr);
    operand.value = *worked.value;
    operand.constant = worked.constant;
    operand.root = worked.root;
    operand.height = worked.height;
    operand.staticType = worked.staticType;
    ArriveOperand(worked.position);
    scan_.lastWasVariable = false;
}

void ExpressionBuilder::Apply() {
    const PendingOperator op = operators_.Pop();
    if (scan_.firstOutput < 0) scan_.firstOutput = op.position;
    const auto arity = static_cast<size_t>(OperatorRow(op.code).operands);
    if (operands_.ApplyKnown(op, arity)) return;
    // A group read in line comes to a value or is read again as an item.
    if (groups_.Open() > 0) {
        groups_.Abandon();
        return;
    }
    operands_.ApplyBuilding(op, arity);
}

bool ExpressionBuilder::Finish() {
    SettleIncrement(false);   // a "++" at the end has no variable after it
    if (increments_.misplaced >= 0) {
        source_.AddDiag(increments_.misplaced, Diag::OperandNotVariable);
        return false;
    }
    while (operators_.Count() > 0) {
        Apply();
        if (operands_.Refused()) return false;
    }
    if (operands_.Count() == 0) return false;
    if (operands_.Count() > 1) {
        // Only the last subtree is built: its failure, or the operands left
        // before it.
        const Operand& last = operands_.Top();
        if (last.HasFailed()) {
            source_.AddDiag(last.failure.position, last.failure.id);
        } else {
            source_.AddDiag(scan_.firstOutput, Diag::MissingOperator);
        }
        return false;
    }
    const Operand& root = operands_.Top();
    operands_.RecordFaults(root);
    if (root.HasFailed()) return false;
    return expression_.TakeRoot(source_, operands_.ItemOf(root), root.height);
}
