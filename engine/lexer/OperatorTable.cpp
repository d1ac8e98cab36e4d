#include "engine/lexer/OperatorTable.h"

#include <array>
#include <cstdint>

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

namespace {

// The rows that can match text beginning with one character: the two-character
// rows that come before its first one-character row, in table order, and that
// row. A one-character row always matches, so no row after it can win.
struct FirstCharRows {
    std::array<uint8_t, 4> pairs{};   // rows of two-character operators
    std::array<char, 4> seconds{};    // their second characters
    uint8_t pairCount = 0;
    uint8_t single = 0;               // kOperators.size() when there is none
};

constexpr std::array<FirstCharRows, 256> kRowsByFirstChar = [] {
    std::array<FirstCharRows, 256> byChar{};
    for (FirstCharRows& rows : byChar) rows.single = static_cast<uint8_t>(kOperators.size());
    std::array<bool, 256> singleFound{};
    for (size_t row = 0; row < kOperators.size(); ++row) {
        const auto first = static_cast<unsigned char>(kOperators[row].text[0]);
        FirstCharRows& rows = byChar[first];
        if (singleFound[first]) continue;
        if (kOperators[row].text[1] == '\0') {
            rows.single = static_cast<uint8_t>(row);
            singleFound[first] = true;
        } else {
            rows.seconds[rows.pairCount] = kOperators[row].text[1];
            rows.pairs[rows.pairCount++] = static_cast<uint8_t>(row);
        }
    }
    return byChar;
}();

}  // namespace

int MatchOperator(const char* s, size_t available) {
    if (available == 0) return -1;
    const FirstCharRows& rows = kRowsByFirstChar[static_cast<unsigned char>(s[0])];
    if (available >= 2) {
        for (uint8_t i = 0; i < rows.pairCount; ++i) {
            if (rows.seconds[i] == s[1]) return rows.pairs[i];
        }
    }
    return rows.single < kOperators.size() ? rows.single : -1;
}

int OperatorRowOf(int code) {
    for (size_t row = 0; row < kOperators.size(); ++row) {
        if (kOperators[row].code == code) return static_cast<int>(row);
    }
    return -1;
}

const OperatorDef& OperatorRow(int row) { return kOperators[static_cast<size_t>(row)]; }
