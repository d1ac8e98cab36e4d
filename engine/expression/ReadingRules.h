#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/ExpKind.h"
#include "engine/items/CursorState.h"
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

// What a name stands for where an operand begins, by the kind of the item it
// names (EXP_ITEM for none): a call, a boolean literal, an array element or
// a variable, in that order of preference; any other name is undefined.
enum class NameUse : uint8_t { Call, Bool, Element, Variable, Undefined };
constexpr NameUse UseOfName(ExpKind found, std::string_view name) {
    if (found == EXP_FUNCTION) return NameUse::Call;
    if (IsBoolWord(name)) return NameUse::Bool;
    if (found == EXP_VARARRAY) return NameUse::Element;
    if (found == EXP_VARIABLE) return NameUse::Variable;
    return NameUse::Undefined;
}

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
// How operators are ordered and re-coded is in their rows (OperatorTable.h);
// these read the rows, and know no operator by name.

// The operator a text stands for where it arrives: after an operand a "+"
// or "-" adds or subtracts; at the start of an expression, after "(" or
// after another operator it is a sign, as every row is itself.
constexpr int ArrivingCode(int row, bool afterOperand) { return afterOperand ? CodeAfterOperand(row) : row; }

// An operator arriving, or waiting on a pending stack for its operands, with
// what ordering it needs of its row at hand.
struct PendingOperator {
    // What sets the operator apart in the ordering.
    enum class Role : uint8_t {
        Plain,
        Waiting,   // it opens ("?"), and the operator that closes it has not come
        Closer,    // it closes another (":")
    };

    int32_t position;
    int8_t code;
    // Its level in the tree: its row's left binding power, or Level::Waiting
    // for an opener that held an operator back.
    Level level;
    Level right;   // its row's right binding power
    Role role;
};

namespace reading_rules_detail {

// The record of each operator as it arrives, gathered from its row once:
// the readers meet operators in every line.
inline constexpr auto kArrivals = [] {
    std::array<PendingOperator, kOperators.size()> records{};
    for (size_t code = 0; code < kOperators.size(); ++code) {
        const OperatorDef& row = kOperators[code];
        PendingOperator::Role role = PendingOperator::Role::Plain;
        if (Opens(static_cast<int>(code))) role = PendingOperator::Role::Waiting;
        if (row.special.closes != OP_NONE) role = PendingOperator::Role::Closer;
        records[code] = {0, static_cast<int8_t>(code), row.binds.left, row.binds.right, role};
    }
    return records;
}();

}  // namespace reading_rules_detail

// The operator code arriving at position, as its row describes it.
constexpr PendingOperator Arriving(int code, int32_t position) {
    PendingOperator arriving = reading_rules_detail::kArrivals[static_cast<size_t>(code)];
    arriving.position = position;
    return arriving;
}

// Whether the operator pending on top is applied before the arriving one is
// pushed: unless the arriving one binds its left operand tighter than the
// pending one binds its right. A closer (":") takes every operator back to
// the one it closes, even "=", "," and a complete "?", as everything between
// them is one operand; it stops only at another closer that found nothing
// to close.
constexpr bool AppliesBefore(const PendingOperator& top, const PendingOperator& arriving) {
    using Role = PendingOperator::Role;
    if (arriving.role == Role::Closer) return top.role != Role::Closer;
    return arriving.level <= top.right;
}

// The root of a subtree that stands as an operand: its operator (OP_NONE
// for none) and that operator's level in the tree.
struct OperandRoot {
    int8_t code;
    Level level;
};

// Whether a subtree with root may be operand slot (counted from the last) of
// the operator code, whose level in the tree is level. A root that binds
// more loosely than the operator over it cannot be its operand, unless the
// operator's row admits it there.
constexpr bool MayStandAsOperand(int code, Level level, size_t slot, OperandRoot root) {
    if (root.code == OP_NONE || root.level >= level) return true;
    const Admits& admits = OperatorRow(code).special.admits;
    return admits.root == root.code && admits.slot == slot;
}

// An operator applied as an item, not worked out, runs with the line: the
// reading has reached the point of the line's run where it acts, and once it
// writes a variable, what variables hold is known no longer from there on.
inline void NoteAppliedAsItem(CursorState& cursor, int code) {
    if (OperatorRow(code).special.writesVariable) cursor.mayChangeVariables = true;
}
