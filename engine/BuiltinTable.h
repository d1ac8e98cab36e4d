#pragma once

#include <vector>

#include "engine/CExpFunction.h"

// A row of the built-in function table; the row index is the function number.
struct BuiltinRow {
    const char* name;
    int resultType;
    std::vector<FunctionParam> params;
    const char* description;
};

// ORDER BUILTIN: sixty rows in function-number order (0 to 59).
const std::vector<BuiltinRow>& BuiltinTable();
