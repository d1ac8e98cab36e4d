#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// ORDER OPERATORCODE: codes index behaviour and are matched by the parser.
enum OperatorCode : int {
    OP_PRE_INC = 0,
    OP_PRE_DEC = 1,
    OP_POST_INC = 2,   // no table row: "++" re-coded after a variable
    OP_POST_DEC = 3,   // no table row: "--" re-coded after a variable
    OP_PLUS = 4,
    OP_MINUS = 5,
    OP_BITNOT = 6,
    OP_MUL = 7,
    OP_DIV = 8,
    OP_MOD = 9,
    OP_ADD = 10,
    OP_SUB = 11,
    OP_SHR = 12,
    OP_SHL = 13,
    OP_LE = 14,
    OP_LT = 15,
    OP_GE = 16,
    OP_GT = 17,
    OP_EQ = 18,
    OP_NE = 19,
    OP_XOR = 20,
    OP_AND = 21,
    OP_OR = 22,
    OP_COND = 23,
    OP_COLON = 24,
    OP_ASSIGN = 25,
    OP_COMMA = 26,
    OP_NOT = 27,
    OP_BITAND = 28,
    OP_BITOR = 29,
    OP_COUNT
};

struct OperatorDef {
    const char* text;
    int code;
    int precedence;    // smaller binds tighter
    int rightToLeft;   // 1: equal precedence groups from the right
    int arity;         // 3 for "?", 0 for ":"
};

// ORDER OPERATORTABLE: recognition takes the first row whose text matches, so
// a two-character operator precedes its one-character prefix and the unary
// "+" and "-" precede the binary ones (the parser re-codes them by context).
// Unary "+" and "-" group right to left like every other unary operator, so
// that «- -a» and «-a++» build as in C.
inline constexpr auto kOperators = std::to_array<OperatorDef>({
    {"++", OP_PRE_INC, 2, 1, 1},
    {"--", OP_PRE_DEC, 2, 1, 1},
    {"+", OP_PLUS, 2, 1, 1},
    {"-", OP_MINUS, 2, 1, 1},
    {"~", OP_BITNOT, 2, 1, 1},
    {"*", OP_MUL, 3, 0, 2},
    {"/", OP_DIV, 3, 0, 2},
    {"%", OP_MOD, 3, 0, 2},
    {"+", OP_ADD, 4, 0, 2},
    {"-", OP_SUB, 4, 0, 2},
    {">>", OP_SHR, 5, 0, 2},
    {"<<", OP_SHL, 5, 0, 2},
    {"<=", OP_LE, 6, 0, 2},
    {"<", OP_LT, 6, 0, 2},
    {">=", OP_GE, 6, 0, 2},
    {">", OP_GT, 6, 0, 2},
    {"==", OP_EQ, 7, 0, 2},
    {"!=", OP_NE, 7, 0, 2},
    {"^", OP_XOR, 9, 0, 2},
    {"&&", OP_AND, 11, 0, 2},
    {"||", OP_OR, 12, 0, 2},
    {"?", OP_COND, 13, 1, 3},
    {":", OP_COLON, 13, 1, 0},
    {"=", OP_ASSIGN, 13, 1, 2},
    {",", OP_COMMA, 14, 0, 2},
    {"!", OP_NOT, 2, 1, 1},
    {"&", OP_BITAND, 8, 0, 2},
    {"|", OP_BITOR, 10, 0, 2},
});

// The index of the row whose text matches the start of s (first match in
// table order), or -1.
int MatchOperator(const char* s, size_t available);
inline const OperatorDef& OperatorRow(int row) { return kOperators[static_cast<size_t>(row)]; }

namespace operator_table_detail {

inline constexpr std::array<uint8_t, kOperators.size()> kRowsAfterOperand = [] {
    std::array<uint8_t, kOperators.size()> rows{};
    size_t add = 0;
    size_t sub = 0;
    for (size_t row = 0; row < kOperators.size(); ++row) {
        if (kOperators[row].code == OP_ADD) add = row;
        if (kOperators[row].code == OP_SUB) sub = row;
    }
    for (size_t row = 0; row < kOperators.size(); ++row) {
        const int code = kOperators[row].code;
        rows[row] = static_cast<uint8_t>(code == OP_PLUS ? add : code == OP_MINUS ? sub : row);
    }
    return rows;
}();

}  // namespace operator_table_detail

// The length of the row's text.
inline int OperatorLength(int row) { return kOperators[static_cast<size_t>(row)].text[1] == '\0' ? 1 : 2; }

// The row an operator's text stands for after an operand: the signs stand
// for the addition and the subtraction, every other row for itself. Looked
// up, not tested: which operator comes is as random as the user's line.
inline int RowAfterOperand(int row) { return operator_table_detail::kRowsAfterOperand[static_cast<size_t>(row)]; }
