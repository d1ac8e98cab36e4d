#pragma once

// ORDER EXPKIND: one code per item class; the code is also the major code of
// the diagnostics the class raises, so it is shown to users.
enum ExpKind : int {
    EXP_ITEM = 0,
    EXP_LINE = 1,          // the line as a whole; no item class
    EXP_COMMENT = 2,
    EXP_COMMENT_LINE = 3,
    EXP_NUM_CONST = 4,
    EXP_FRA_CONST = 5,
    EXP_CHAR_CONST = 6,
    EXP_STR_CONST = 7,
    EXP_BOOL_CONST = 8,
    EXP_FUNCTION = 9,
    EXP_FUNCCALL = 10,
    EXP_OPERATOR = 11,
    EXP_KAKKO = 12,
    EXP_EXPRESSION = 13,
    EXP_TYPE = 14,
    EXP_ARRAY = 15,
    EXP_VARIABLE = 16,
    EXP_VARARRAY = 17,
    EXP_INITIALIZER = 18,
    EXP_ARY_INITIALIZER = 19,
    EXP_INIT_LIST = 20,
    EXP_REFERENCE = 21,
    EXP_REFARRAY = 22,
};
