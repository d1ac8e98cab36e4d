#pragma once

#include <cstdint>

// ORDER TYPECODE: the codes are shown to users (diagnostics, listings) and
// indexed by tables; never renumber.
enum TypeCode : uint32_t {
    VTYPE_NONE = 0,
    VTYPE_CHAR = 1,
    VTYPE_BYTE = 2,
    VTYPE_SHORT = 3,
    VTYPE_WORD = 4,
    VTYPE_INT = 5,
    VTYPE_LONG = 6,   // produced by 32-bit signed arithmetic; no keyword declares it
    VTYPE_DWORD = 7,
    VTYPE_FLOAT = 8,
    VTYPE_DOUBLE = 9,
    VTYPE_BOOL = 10,
    VTYPE_FRACTION = 11,
    VTYPE_STRING = 12,
};

inline bool IsIntegerType(uint32_t code) { return code >= VTYPE_CHAR && code <= VTYPE_DWORD; }
inline bool IsNumericType(uint32_t code) { return code >= VTYPE_CHAR && code <= VTYPE_FRACTION; }
inline bool IsStringType(uint32_t code) { return code == VTYPE_STRING; }
bool IsSignedType(uint32_t code);    // 1, 3, 5, 6, 8, 9, 11
int TypeSize(uint32_t code);         // size class: 1, 2, 4, 8 or 0

// The result type of every binary operation on values of codes a and b.
TypeCode CommonType(uint32_t a, uint32_t b);
