#include "engine/expression/LiteralArithmetic.h"

#include <algorithm>

#include "engine/items/CExpOperator.h"
#include "engine/items/CExpSource.h"

namespace {

// The pending stack's record of a group's "(", and the code of an operator
// the builder has to read.
constexpr int8_t kGroupCode = -1;
constexpr int8_t kNotPure = -2;

// The pending record of the operator in row, or one coded kNotPure unless it
// is pure and takes that many operands.
PendingOperator Pending(int row, int operands) {
    const OperatorDef& def = OperatorRow(row);
    const bool pure = CExpOperator::IsPure(def.code, operands);
    return {0, static_cast<uint8_t>(row), static_cast<int8_t>(pure ? def.code : kNotPure),
            static_cast<uint8_t>(def.precedence), false};
}

}  // namespace

LiteralArithmetic::LiteralArithmetic() {
    for (size_t row = 0; row < kOperators.size(); ++row) {
        beforeOperand_[row] = Pending(ArrivingRow(static_cast<int>(row), false), 1);
        afterOperand_[row] = Pending(ArrivingRow(static_cast<int>(row), true), 2);
    }
}

bool LiteralArithmetic::WorkOut(CExpSource& source, bool stopAtComma, Result& result) {
    CLexer& lexer = source.Lexer();
    size_t index = source.index;
    int position = source.position;
    size_t groups = 0;
    bool worked = false;   // a lone literal is the builder's own
    operandCount_ = 0;
    operatorCount_ = 0;
    Token token{};
    for (;;) {
        // An operand: a literal, perhaps after signs and the "(" of groups ...
        token = lexer.At(index);
        for (;; token = lexer.At(++index)) {
            if (token.kind == TokenKind::LParen) {
                if (!MayReadGroupInLine(groups, source.depth + static_cast<int>(groups)) || operatorCount_ == kRoom) {
                    return false;
                }
                operators_[operatorCount_++] = {token.start, 0, kGroupCode, 0, false};
                ++groups;
            } else if (token.kind == TokenKind::Operator) {
                PendingOperator prefix = beforeOperand_[token.row];
                prefix.position = token.start;
                if (prefix.code == kNotPure || !Arrive(prefix)) return false;
                worked = true;
            } else {
                break;
            }
        }
        // A string's value owns memory, which the value slots would keep
        // past the line: strings are the builder's.
        if (!IsLiteralOperand(token) || token.kind == TokenKind::String || operandCount_ == kRoom) return false;
        const CValueData& literal = lexer.LiteralOf(token);
        operands_[operandCount_++] = {&literal, static_cast<int32_t>(literal.Type()), 0, token.start};
        position = token.end;
        token = lexer.At(++index);
        // ... then the ")" of the groups it ends ...
        while (token.kind == TokenKind::RParen && groups > 0) {
            if (!CloseGroup()) return false;
            --groups;
            worked = true;
            position = token.end;
            token = lexer.At(++index);
        }
        // ... and an operator, or the end of the expression.
        if (EndsExpression(token, stopAtComma, groups)) break;
        if (token.kind != TokenKind::Operator) return false;   // two operands in a row
        PendingOperator arriving = afterOperand_[token.row];
        if (arriving.code == kNotPure) return false;
        arriving.position = token.start;
        if (!Arrive(arriving)) return false;
        worked = true;
        position = token.end;
        ++index;
    }
    if (groups > 0) return false;
    while (operatorCount_ > 0) {
        if (!ApplyTop()) return false;
    }
    if (!worked) return false;
    source.index = index;
    source.position = position;
    source.SkipBlanks();
    const Operand& root = operands_[0];
    result = {root.value, root.staticType, root.height, root.position};
    return true;
}

bool LiteralArithmetic::Arrive(const PendingOperator& arriving) {
    while (operatorCount_ > 0 && operators_[operatorCount_ - 1].code != kGroupCode &&
           AppliesBefore(operators_[operatorCount_ - 1], arriving)) {
        if (!ApplyTop()) return false;
    }
    if (operatorCount_ == kRoom) return false;
    operators_[operatorCount_++] = arriving;
    return true;
}

bool LiteralArithmetic::ApplyTop() {
    const PendingOperator op = operators_[--operatorCount_];
    const bool binary = OperatorRow(op.row).arity == 2;
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
    left = {&slot, type, height, op.position};
    operandCount_ = first + 1;
    return true;
}

bool LiteralArithmetic::CloseGroup() {
    while (operators_[operatorCount_ - 1].code != kGroupCode) {
        if (!ApplyTop()) return false;
    }
    const PendingOperator group = operators_[--operatorCount_];
    Operand& inner = operands_[operandCount_ - 1];
    if (!FitsDepth(inner.height + 1)) return false;
    inner.height += 1;
    inner.position = group.position;
    return true;
}
