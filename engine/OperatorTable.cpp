#include "engine/OperatorTable.h"

#include <array>

namespace {

// ORDER OPERATORTABLE: recognition takes the first row whose text matches, so
// a two-character operator precedes its one-character prefix and the unary
// "+" and "-" precede the binary ones (the parser re-codes them by context).
// Unary "+" and "-" group right to left like every other unary operator, so
// that «- -a» and «-a++» build as in C.
constexpr std::array<OperatorDef, 28> kOperators = {{
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
}};

}  // namespace

const OperatorDef* MatchOperator(const char* s, size_t available) {
    if (available == 0) return nullptr;
    for (const OperatorDef& def : kOperators) {
        // Every operator text has one or two characters.
        if (def.text[0] != s[0]) continue;
        if (def.text[1] == '\0' || (available >= 2 && def.text[1] == s[1])) return &def;
    }
    return nullptr;
}

bool FindOperator(int code, OperatorDef& def) {
    for (const OperatorDef& row : kOperators) {
        if (row.code == code) {
            def = row;
            return true;
        }
    }
    return false;
}
