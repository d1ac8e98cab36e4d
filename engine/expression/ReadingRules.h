#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/lexer/OperatorTable.h"
#include "engine/lexer/Token.h"

// The rules of reading an expression, in one place for the two readers that
// follow them: the expression builder, which reads any expression, and the
// quick pass (LiteralArithmetic), which works out lines of literal
// arithmetic and declines the rest. A change of the grammar made here
// reaches both; the test that compares the two then guards only their
// bookkeeping.

// ---- The limits ----

// The deepest nesting a line may have: expressions nested inside an
// expression (parentheses, arguments, subscripts, brace lists), and levels of
// the built tree (operators, parentheses, calls) above its leaves. Every tree
// walk (Check, Execute, ValueType) recurses, so this bound is what keeps the
// call stack safe; deeper lines are refused with (position, 1, 1) "構文エラー".
inline constexpr int kMaxDepth = 1000;

// Whether an expression or a brace list may begin with the reader this
// many levels deep.
constexpr bool MayNestAt(int depth) { return depth <= kMaxDepth; }

// Whether a tree of this height (levels above its leaves) may stand.
constexpr bool FitsDepth(int height) { return height <= kMaxDepth; }

// Parenthesised groups read in line, as values, nest at most this deep; deeper
// ones are read as group items. A group read in line that does not come to a
// value is read again, so this bound also bounds the text read twice.
inline constexpr size_t kMaxGroupsInLine = 32;

// Whether one more group may be read in line, with openGroups already open
// and the reader depth levels deep (those groups included).
constexpr bool MayReadGroupInLine(size_t openGroups, int depth) {
    return openGroups < kMaxGroupsInLine && depth < kMaxDepth;
}

// ---- Operands ----

// The literals; each is an operand of its own value, unless it is faulty,
// when its faults are what the reader records.
constexpr bool IsLiteral(TokenKind kind) {
    return kind == TokenKind::Number || kind == TokenKind::Fraction || kind == TokenKind::Char ||
           kind == TokenKind::String;
}
constexpr bool IsLiteralOperand(const Token& token) { return IsLiteral(token.kind) && !token.faulty; }

// "true" and "false" are literals as whole words only; any other name, even
// «truex», is looked up.
constexpr bool IsBoolWord(std::string_view name) { return name == "true" || name == "false"; }

// ---- Where an expression ends ----

// item -> "(" expression ")" | operator | call | literal | element | variable
// The tokens an item begins with; any other ends the expression.
constexpr bool BeginsItem(TokenKind kind) {
    return IsLiteral(kind) || kind == TokenKind::Name || kind == TokenKind::Operator || kind == TokenKind::LParen;
}

// Whether the token ends the expression, unread: a token that begins no item
// (the caller decides whether it belongs there), a ")" that closes no group
// the reader opened, or, where a "," separates expressions (arguments,
// initializers), a "," outside every group.
inline bool EndsExpression(const Token& token, bool stopAtComma, size_t openGroups) {
    if (token.kind == TokenKind::RParen) return openGroups == 0;
    if (token.kind == TokenKind::Operator) {
        return stopAtComma && openGroups == 0 && OperatorRow(token.row).code == OP_COMMA;
    }
    return !BeginsItem(token.kind);
}

// ---- Operators ----

// The row an operator's text stands for where it arrives: after an operand
// a "+" or "-" adds or subtracts; at the start of an expression, after "("
// or after another operator it is a sign, as every row is itself.
inline int ArrivingRow(int row, bool afterOperand) { return afterOperand ? RowAfterOperand(row) : row; }

// An operator waiting for its operands, ordered by precedence on a pending
// stack.
struct PendingOperator {
    int32_t position;
    uint8_t row;
    int8_t code;
    uint8_t precedence;
    bool waitsForColon;   // a "?" whose ":" has not come yet
};

// Whether the operator on top of the pending stack is applied before the
// arriving one is pushed.
inline bool AppliesBefore(const PendingOperator& top, const PendingOperator& arriving) {
    // Everything between a ":" and the "?" it closes belongs to the middle
    // operand, even "=", "," and a "?" that is complete.
    if (arriving.code == OP_COLON && (top.code == OP_ASSIGN || top.code == OP_COMMA || top.code == OP_COND)) {
        return true;
    }
    return top.precedence < arriving.precedence ||
           (top.precedence == arriving.precedence && OperatorRow(top.row).rightToLeft == 0);
}

// Whether a subtree whose root operator is rootCode, of rootPrecedence, may be
// operand slot (counted from the last) of the operator code of precedence.
// A root that binds more loosely than the operator over it cannot be its
// operand, but for two cases of C: the value of "=" may be a "?", and the
// middle of a "?" may be a ",". rootCode is negative for a subtree without
// an operator at its root.
constexpr bool MayStandAsOperand(int code, int precedence, size_t slot, int rootCode, int rootPrecedence) {
    return rootCode < 0 || rootPrecedence <= precedence || (code == OP_ASSIGN && slot == 0 && rootCode == OP_COND) ||
           (code == OP_COND && slot == 1 && rootCode == OP_COMMA);
}
