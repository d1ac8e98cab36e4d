#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "engine/builtins/Builtins.h"
#include "engine/items/CExpFunction.h"

// One row of the built-in library: everything about one function.
struct BuiltinRow {
    BuiltinId id;   // its function number
    const char* name;
    int resultType;
    // The parameters, at most three; a variadic entry is last.
    std::array<FunctionParam, 3> parameters;
    // It computes a number from numbers and does nothing else: no output
    // argument, no state, no effect outside the process. The parser may
    // work such a call out while it reads the line.
    bool pure;
    BuiltinFn implementation;
    const char* description;   // the one-line text of the function listing

    std::span<const FunctionParam> Params() const;
};

// ORDER BUILTIN: sixty rows in function-number order (0 to 59).
std::span<const BuiltinRow> BuiltinTable();

// The implementation a call of the built-in runs.
BuiltinFn BuiltinImplementation(int number);
// Replaces one implementation (null restores the table's), for a host that
// must not let arbitrary input touch the machine: the fuzz harness makes the
// side-effecting built-ins inert before the first line runs. The shipped
// program never does.
void ReplaceBuiltin(BuiltinId id, BuiltinFn implementation);
