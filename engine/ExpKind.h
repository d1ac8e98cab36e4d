#pragma once

// ORDER EXPKIND: one code per item class; the code is also the major code of
// the diagnostics the class raises, so it is shown to users.
enum ExpKind : int {
    EXP_ITEM = 0,
    EXP_LINE = 1,            // the line as a whole; no item class
    EXP_COMMENT = 2,         // an unclosed comment; comments are skipped by the lexer, no item class
    // 3 was the line comment's, which raises no diagnostic.
    EXP_NUM_CONST = 4,
    EXP_FRA_CONST = 5,
    EXP_CHAR_CONST = 6,
    EXP_STR_CONST = 7,
    EXP_BOOL_CONST = 8,
    EXP_FUNCTION = 9,
    EXP_FUNCCALL = 10,
    EXP_OPERATOR = 11,
    EXP_KAKKO = 12,          // a parenthesised group
    EXP_EXPRESSION = 13,
    EXP_DECLARATION = 14,
    EXP_BRACKET_LIST = 15,   // the sizes of an array, or an element's subscripts
    EXP_VARIABLE = 16,
    EXP_VARARRAY = 17,
    EXP_INITIALIZER = 18,
    EXP_ARY_INITIALIZER = 19,
    EXP_INIT_LIST = 20,
    EXP_VARIABLE_USE = 21,
    EXP_ELEMENT_USE = 22,
};
