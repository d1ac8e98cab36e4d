#pragma once

#include <vector>

#include "engine/items/CExpFunction.h"

// A row of the built-in function table; the row index is the function number.
struct BuiltinRow {
    const char* name;
    int resultType;
    std::vector<FunctionParam> params;
    const char* description;   // the one-line text of the function listing
};

// ORDER BUILTIN: sixty rows in function-number order (0 to 59); BuiltinId
// (engine/Builtins.h) and the implementation table follow the same order.
const std::vector<BuiltinRow>& BuiltinTable();
