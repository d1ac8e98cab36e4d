#include "engine/expression/LiteralArithmetic.h"

#include <algorithm>

#include "engine/items/CExpOperator.h"
#include "engine/items/CExpSource.h"

bool LiteralArithmetic::WorkOut(CExpSource& source, bool stopAtComma, Result& result) {
    CLexer& lexer = source.Lexer();
    size_t index = source.index;
    int position = source.position;
    bool worked = false;   // a lone literal is the builder's own
    operandCount_ = 0;
    operatorCount_ = 0;
    groupCount_ = 0;
    Token token{};
    for (;;) {
        // An operand: a literal, perhaps after signs and the "(" of groups ...
        token = lexer.At(index);
        for (;; token = lexer.At(++index)) {
            if (token.kind == TokenKind::LParen) {
                if (!MayReadGroupInLine(groupCount_, source.depth + static_cast<int>(groupCount_))) return false;
                groups_[groupCount_++] = {operatorCount_, token.start};
            } else if (token.kind == TokenKind::Operator) {
                if (!Arrive(ArrivingCode(token.row, false), 1, token.start)) return false;
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
        while (token.kind == TokenKind::RParen && groupCount_ > 0) {
            if (!CloseGroup()) return false;
            worked = true;
            position = token.end;
            token = lexer.At(++index);
        }
        // ... and an operator, or the end of the expression.
        if (EndsExpression(token, stopAtComma, groupCount_)) break;
        if (token.kind != TokenKind::Operator) return false;   // two operands in a row
        if (!Arrive(ArrivingCode(token.row, true), 2, token.start)) return false;
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
    result = {root.value, root.staticType, root.height, root.position};
    return true;
}

bool LiteralArithmetic::Arrive(int code, int operands, int32_t position) {
    const OperatorDef& arriving = OperatorRow(code);
    if (!IsPure(arriving) || arriving.operands != operands) return false;
    const size_t base = OperatorBase();
    while (operatorCount_ > base && AppliesBefore(operators_[operatorCount_ - 1], arriving)) {
        if (!ApplyTop()) return false;
    }
    if (operatorCount_ == kRoom) return false;
    operators_[operatorCount_++] = {position, static_cast<int8_t>(code), arriving.binds.left, false};
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
    left = {&slot, type, height, op.position};
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
    if (!FitsDepth(inner.height + 1)) return false;
    inner.height += 1;
    inner.position = group.position;
    return true;
}
