#include "engine/items/LiteralArithmetic.h"

#include <algorithm>

#include "engine/items/CExpOperator.h"
#include "engine/items/CExpSource.h"
#include "engine/items/CExpression.h"

namespace {

// The pending stack's record of a group's "(", and the code of an operator
// the parser has to read.
constexpr int8_t kGroupCode = -1;
constexpr int8_t kNotFoldable = -2;

// The literals the parser reads as operands of their own value.
bool IsLiteral(const Token& token) {
    return !token.faulty &&
           (token.kind == TokenKind::Number || token.kind == TokenKind::Fraction || token.kind == TokenKind::Char);
}

// The tokens after an operand at which the parser ends an expression: a
// ")" or "," it does not take, and anything that begins no item.
bool EndsExpression(TokenKind kind) {
    switch (kind) {
        case TokenKind::End:
        case TokenKind::Operator:
        case TokenKind::RParen:
        case TokenKind::LBracket:
        case TokenKind::RBracket:
        case TokenKind::LBrace:
        case TokenKind::RBrace:
        case TokenKind::Other: return true;
        default: return false;
    }
}

// The pending record of the operator in row, or one coded kNotFoldable
// unless it is pure and takes that many operands.
ExpressionStacks::Operator Pending(int row, int operands) {
    const OperatorDef& def = OperatorRow(row);
    const bool foldable = CExpOperator::IsPure(def.code, operands);
    return {0, static_cast<uint8_t>(row), static_cast<int8_t>(foldable ? def.code : kNotFoldable),
            static_cast<uint8_t>(def.precedence), false};
}

}  // namespace

LiteralArithmetic::LiteralArithmetic() {
    for (size_t row = 0; row < kOperators.size(); ++row) {
        beforeOperand_[row] = Pending(static_cast<int>(row), 1);
        afterOperand_[row] = Pending(RowAfterOperand(static_cast<int>(row)), 2);
    }
}

bool LiteralArithmetic::Fold(CExpSource& source, bool stopAtComma, Result& result) {
    CLexer& lexer = source.Lexer();
    size_t index = source.index;
    int position = source.position;
    size_t groups = 0;
    bool folded = false;   // a lone literal is the parser's own
    operandCount_ = 0;
    operatorCount_ = 0;
    Token token{};
    for (;;) {
        // An operand: a literal, perhaps after signs and the "(" of groups ...
        token = lexer.At(index);
        for (;; token = lexer.At(++index)) {
            if (token.kind == TokenKind::LParen) {
                if (groups == CExpression::kMaxGroupsInLine ||
                    source.depth + static_cast<int>(groups) >= CExpression::kMaxDepth || operatorCount_ == kRoom) {
                    return false;
                }
                operators_[operatorCount_++] = {token.start, 0, kGroupCode, 0, false};
                ++groups;
            } else if (token.kind == TokenKind::Operator) {
                PendingOperator prefix = beforeOperand_[token.row];
                prefix.position = token.start;
                if (prefix.code == kNotFoldable || !Arrive(prefix)) return false;
                folded = true;
            } else {
                break;
            }
        }
        if (!IsLiteral(token) || operandCount_ == kRoom) return false;
        const CValueData& literal = lexer.LiteralOf(token);
        operands_[operandCount_++] = {&literal, static_cast<int32_t>(literal.Type()), 0, token.start};
        position = token.end;
        token = lexer.At(++index);
        // ... then the ")" of the groups it ends ...
        while (token.kind == TokenKind::RParen && groups > 0) {
            if (!CloseGroup()) return false;
            --groups;
            folded = true;
            position = token.end;
            token = lexer.At(++index);
        }
        // ... and an operator, or the end of the expression.
        if (token.kind != TokenKind::Operator) break;
        PendingOperator arriving = afterOperand_[token.row];
        if (arriving.code == kNotFoldable) {
            if (OperatorRow(token.row).code == OP_COMMA && stopAtComma && groups == 0) break;
            return false;
        }
        arriving.position = token.start;
        if (!Arrive(arriving)) return false;
        folded = true;
        position = token.end;
        ++index;
    }
    if (groups > 0 || !EndsExpression(token.kind)) return false;
    while (operatorCount_ > 0) {
        if (!ApplyTop()) return false;
    }
    if (!folded) return false;
    // The parser's scan moves past the blanks before the token it stops at;
    // an unclosed comment there is for it to report.
    if (position < static_cast<int>(source.Line().size())) {
        if (token.kind == TokenKind::End && token.payload >= position) return false;
        position = std::max(position, token.start);
    }
    source.index = index;
    source.position = position;
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
    CValueData& slot = values_[first];
    int type = 0;
    if (!CExpOperator::Fold(op.code, *left.value, right != nullptr ? right->value : nullptr, left.staticType,
                            right != nullptr ? right->staticType : 0, slot, type)) {
        return false;
    }
    // A tree this high is the parser's to refuse or to build.
    const int height = std::max(left.height, right != nullptr ? right->height : 0) + 1;
    if (height >= CExpression::kMaxDepth) return false;
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
    if (inner.height + 1 >= CExpression::kMaxDepth) return false;
    inner.height += 1;
    inner.position = group.position;
    return true;
}
