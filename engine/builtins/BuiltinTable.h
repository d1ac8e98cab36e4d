#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "engine/builtins/Builtins.h"
#include "engine/items/CExpFunction.h"

// What a call touches besides its arguments, its result and its output
// arguments.
enum class BuiltinEffects : uint8_t {
    // Nothing: the same arguments give the same result, anywhere, at any time.
    None,
    // The world outside in passing: it reads the file system or the
    // environment, or writes standard output, and changes nothing that a
    // later call reads.
    Passing,
    // A lasting change, or a wait: files and folders, the environment,
    // commands, the terminal, input, the random sequence.
    Lasting,
};

// One row of the built-in library: everything about one function.
struct BuiltinRow {
    BuiltinId id;   // its function number
    const char* name;
    int resultType;
    // The parameters, at most three; a variadic entry is last.
    std::array<FunctionParam, 3> parameters;
    BuiltinEffects effects;
    BuiltinFn implementation;
    const char* description;   // the one-line text of the function listing

    std::span<const FunctionParam> Params() const;
    // It computes a number from numbers and does nothing else: no effects,
    // no output argument, no string. The parser may work such a call out
    // while it reads the line.
    bool IsPure() const;
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
