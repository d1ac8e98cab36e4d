#include "engine/expression/LiteralArithmetic.h"

#include <algorithm>

#include "engine/expression/KnownValues.h"
#include "engine/items/CExpOperator.h"
#include "engine/items/CExpSource.h"
#include "engine/items/CExpVararray.h"

namespace {

// The code of the pending records below where the text stands for an
// operator that the pass does not work out: it is the builder's.
constexpr int8_t kBuildersOperator = OP_NONE;

// What the text of each row stands for where it arrives, before an operand
// (a prefix operator) or after one (a binary operator), when that operator
// is pure; read from the rows once, as the pass meets operators in every
// line.
constexpr auto PendingRecords(bool afterOperand) {
    std::array<PendingOperator, kOperators.size()> records{};
    for (size_t row = 0; row < kOperators.size(); ++row) {
        const int code = ArrivingCode(static_cast<int>(row), afterOperand);
        const OperatorDef& def = OperatorRow(code);
        records[row] = Arriving(code, 0);
        if (!IsPure(def) || def.operands != (afterOperand ? 2 : 1)) records[row].code = kBuildersOperator;
    }
    return records;
}
constexpr auto kBeforeOperand = PendingRecords(false);
constexpr auto kAfterOperand = PendingRecords(true);

// The token after a name and its subscripts, as far as they look like plain
// ones («v[1][2]»), whatever the name turns out to be.
size_t AfterSubscripts(CLexer& lexer, size_t name) {
    size_t after = name + 1;
    while (lexer.At(after).kind == TokenKind::LBracket && lexer.At(after + 2).kind == TokenKind::RBracket) after += 3;
    return after;
}

}  // namespace

bool LiteralArithmetic::WorkOut(CExpSource& source, const CExpItem& scope, bool stopAtComma, Level limit,
                                Result& result) {
    CLexer& lexer = source.Lexer();
    const KnownValues known(source);
    size_t index = source.index;
    int position = source.position;
    bool worked = false;   // a lone operand is the builder's own
    operandCount_ = 0;
    operatorCount_ = 0;
    groupCount_ = 0;
    Token token{};
    for (;;) {
        // An operand, perhaps after signs and the "(" of groups ...
        token = lexer.At(index);
        for (;; token = lexer.At(++index)) {
            if (token.kind == TokenKind::LParen) {
                if (!MayReadGroupInLine(groupCount_, source.depth + static_cast<int>(groupCount_))) return false;
                groups_[groupCount_++] = {operatorCount_, token.start};
            } else if (token.kind == TokenKind::Operator) {
                PendingOperator prefix = kBeforeOperand[token.row];
                prefix.position = token.start;
                if (prefix.code == kBuildersOperator || !Arrive(prefix)) return false;
                worked = true;
            } else {
                break;
            }
        }
        if (operandCount_ == kRoom) return false;
        Operand& operand = operands_[operandCount_];
        // A string's value owns memory, which the value slots would keep
        // past the line: strings are the builder's.
        if (IsLiteralOperand(token) && token.kind != TokenKind::String) {
            const CValueData& literal = lexer.LiteralOf(token);
            operand = {&literal, static_cast<int32_t>(literal.Type()), 0, token.start, ::Operand::Form::Literal, true,
                       {OP_NONE, Level::Waiting}};
            position = token.end;
        } else if (token.kind != TokenKind::Name || !ReadName(source, scope, known, token, index, operand, position)) {
            return false;
        }
        ++operandCount_;
        token = lexer.At(++index);
        // ... then the ")" of the groups it ends ...
        while (token.kind == TokenKind::RParen && groupCount_ > 0) {
            if (!CloseGroup()) return false;
            worked = true;
            position = token.end;
            token = lexer.At(++index);
        }
        // ... and an operator, or the end of the expression.
        const Next next = Follows(token, stopAtComma, limit);
        if (next == Next::Stop) break;
        if (next == Next::Decline) return false;
        PendingOperator arriving = kAfterOperand[token.row];
        arriving.position = token.start;
        if (!Arrive(arriving)) return false;
        worked = true;
        position = token.end;
        ++index;
    }
    if (groupCount_ > 0) return false;
    while (operatorCount_ > 0) {
        if (!ApplyTop()) return false;
    }
    if (!worked) return false;
    source.index = index;
    source.position = position;
    source.SkipBlanks();
    const Operand& root = operands_[0];
    result = {root.value, root.staticType, root.height, root.position, root.constant, root.root};
    return true;
}

LiteralArithmetic::Next LiteralArithmetic::Follows(const Token& token, bool stopAtComma, Level limit) const {
    if (token.kind == TokenKind::RParen && groupCount_ > 0) return Next::Take;
    if (EndsExpression(token, stopAtComma, groupCount_)) return Next::Stop;
    if (token.kind != TokenKind::Operator) return Next::Decline;   // two operands in a row
    const PendingOperator& arriving = kAfterOperand[token.row];
    if (groupCount_ == 0 && arriving.level <= limit) return Next::Stop;
    return arriving.code == kBuildersOperator ? Next::Decline : Next::Take;
}

// assignment -> ( variable | element ) operator expression
size_t LiteralArithmetic::AssignmentOperator(CExpSource& source) const {
    CLexer& lexer = source.Lexer();
    if (lexer.At(source.index).kind != TokenKind::Name) return kNoToken;
    const size_t after = AfterSubscripts(lexer, source.index);
    const Token next = lexer.At(after);
    if (next.kind != TokenKind::Operator) return kNoToken;
    const OperatorDef& row = OperatorRow(ArrivingCode(next.row, true));
    return row.special.writesVariable && row.operands == 2 ? after : kNoToken;
}

bool LiteralArithmetic::WorkOutAssignment(CExpSource& source, const CExpItem& scope, bool stopAtComma,
                                          size_t after, Assignment& result) {
    result.declinedRest = kNoToken;
    CLexer& lexer = source.Lexer();
    const size_t name = source.index;
    const Token token = lexer.At(name);
    const Token next = lexer.At(after);
    const int code = ArrivingCode(next.row, true);

    // The place, as the builder keeps it until the operator takes it.
    const std::string_view text = lexer.TextOf(token);
    CExpItem* found = scope.Lookup(text);
    ::Operand& target = result.operands[0];
    target = ::Operand();
    target.position = token.start;
    target.token = static_cast<int32_t>(name);
    target.item = found;
    switch (UseOfName(found != nullptr ? found->Kind() : EXP_ITEM, text)) {
        case NameUse::Variable:
            if (after != name + 1) return false;
            target.form = ::Operand::Form::Variable;
            break;
        case NameUse::Element: {
            size_t last = name;
            const KnownValues known(source);
            if (MayNestAt(source.depth)) target.literal = known.OfElementText(static_cast<CExpVararray&>(*found), name, last);
            if (target.literal == nullptr || last + 1 != after) return false;
            target.form = ::Operand::Form::Element;
            target.height = kKnownElementHeight;
            break;
        }
        default: return false;
    }
    target.staticType = found->ValueType();

    // The rest, as the operator's right operand.
    result.op = Arriving(code, next.start);
    const CursorMark mark = source.Save();
    source.index = after + 1;
    source.position = next.end;
    Result& value = result.value;
    if (!WorkOut(source, scope, stopAtComma, result.op.right, value)) {
        source.Restore(mark);
        result.declinedRest = after + 1;
        return false;
    }
    // A rest that stops before the end of the expression («a = 1 + 2, b»)
    // is one operand of a larger tree, the builder's to make.
    if (!EndsExpression(source.Current(), stopAtComma, 0) ||
        !MayStandAsOperand(code, result.op.level, 0, value.root) || !FitsDepth(value.height + 1) ||
        !FitsDepth(target.height + 1)) {
        source.Restore(mark);
        return false;
    }
    result.height = std::max(target.height, value.height) + 1;
    return true;
}

bool LiteralArithmetic::ReadName(CExpSource& source, const CExpItem& scope, const KnownValues& known,
                                 const Token& token, size_t& index, Operand& operand, int& end) const {
    CLexer& lexer = source.Lexer();
    // A call is not looked up: the builder reads it, and looks it up then.
    if (lexer.At(index + 1).kind == TokenKind::LParen) return false;
    const std::string_view name = lexer.TextOf(token);
    end = token.end;
    const CExpItem* found = scope.Lookup(name);
    const CValueData* value = nullptr;
    int32_t staticType = 0;
    int32_t height = 0;
    ::Operand::Form form = ::Operand::Form::Bool;
    switch (UseOfName(found != nullptr ? found->Kind() : EXP_ITEM, name)) {
        case NameUse::Bool: value = &KnownValues::OfBoolWord(name); staticType = VTYPE_BOOL; break;
        case NameUse::Variable:
            value = known.OfVariable(*found);
            staticType = found->ValueType();
            form = ::Operand::Form::Variable;
            break;
        case NameUse::Element: {
            const auto& array = static_cast<const CExpVararray&>(*found);
            size_t last = index;
            if (MayNestAt(source.depth + static_cast<int>(groupCount_))) value = known.OfElementText(array, index, last);
            index = last;
            end = lexer.At(last).end;
            staticType = array.ValueType();
            height = kKnownElementHeight;
            form = ::Operand::Form::Element;
            break;
        }
        case NameUse::Call:
        case NameUse::Undefined: break;
    }
    if (value == nullptr || value->Type() == VTYPE_STRING) return false;
    operand = {value, staticType, height, token.start, form, IsConstantOperand(form, false), {OP_NONE, Level::Waiting}};
    return true;
}

bool LiteralArithmetic::Arrive(const PendingOperator& arriving) {
    const size_t base = OperatorBase();
    while (operatorCount_ > base && AppliesBefore(operators_[operatorCount_ - 1], arriving)) {
        if (!ApplyTop()) return false;
    }
    if (operatorCount_ == kRoom) return false;
    operators_[operatorCount_++] = arriving;
    return true;
}

bool LiteralArithmetic::ApplyTop() {
    const PendingOperator op = operators_[--operatorCount_];
    const bool binary = OperatorRow(op.code).operands == 2;
    const size_t first = operandCount_ - (binary ? 2 : 1);
    Operand& left = operands_[first];
    const Operand* right = binary ? &operands_[first + 1] : nullptr;
    const int height = std::max(left.height, right != nullptr ? right->height : 0) + 1;
    if (!FitsDepth(height)) return false;
    CValueData& slot = values_[first];
    int type = 0;
    if (!CExpOperator::ApplyToValues(op.code, *left.value, right != nullptr ? right->value : nullptr, left.staticType,
                                     right != nullptr ? right->staticType : 0, slot, type)) {
        return false;
    }
    const bool constant = left.constant && (right == nullptr || right->constant);
    left = {&slot, type, height, op.position, ::Operand::Form::Value, constant, {op.code, op.level}};
    operandCount_ = first + 1;
    return true;
}

bool LiteralArithmetic::CloseGroup() {
    const Group group = groups_[groupCount_ - 1];
    while (operatorCount_ > group.operatorBase) {
        if (!ApplyTop()) return false;
    }
    --groupCount_;
    Operand& inner = operands_[operandCount_ - 1];
    if (!GroupComesToValue(inner.form) || !FitsDepth(inner.height + 1)) return false;
    inner.form = ::Operand::Form::Value;
    inner.root = {OP_NONE, Level::Waiting};
    inner.height += 1;
    inner.position = group.position;
    return true;
}
