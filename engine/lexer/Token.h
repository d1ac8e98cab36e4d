#pragma once

#include <cstdint>

#include "engine/Diagnostics.h"

enum class TokenKind : uint8_t {
    End,        // the end of the line
    Name,       // [A-Za-z_][A-Za-z0-9_]*, keywords included
    Number,     // an integer or floating literal
    Fraction,   // digits "$" digits ["$" digits]
    Char,       // 'c'
    String,     // "text"
    Operator,   // a row of the operator table
    LParen,
    RParen,
    LBracket,
    RBracket,
    LBrace,
    RBrace,
    Other,      // a byte that begins no token: ";", "#", "$", bytes of 0x80 and above …
};

// One token of a line: a view into the line and what the lexer found there.
// Blanks and comments are not tokens; start is past those before the token.
struct Token {
    int32_t start;
    int32_t end;        // one past the last byte
    TokenKind kind;
    uint8_t row;        // Operator: its row of the operator table
    bool faulty;        // a malformed literal: its faults, not its value, count
    // Number to String: the index of the literal's value, or of its first
    // fault when faulty. End: the position of an unclosed comment before
    // it, or -1.
    int32_t payload;
};

// A fault the lexer found in a literal or a comment. It is recorded as a
// diagnostic only when the parser reaches its token, so the first fault of
// the line still comes first.
struct LexFault {
    int position;
    Diag id;
    bool last;   // the last fault of its token
};
