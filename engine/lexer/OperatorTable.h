#pragma once

#include <cstddef>

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
};

struct OperatorDef {
    const char* text;
    int code;
    int precedence;    // smaller binds tighter
    int rightToLeft;   // 1: equal precedence groups from the right
    int arity;         // 3 for "?", 0 for ":"
};

// The index of the row whose text matches the start of s (first match in
// table order), or -1.
int MatchOperator(const char* s, size_t available);
// The index of the first row with the given code; -1 for 2, 3 and unknown
// codes.
int OperatorRowOf(int code);
const OperatorDef& OperatorRow(int row);
