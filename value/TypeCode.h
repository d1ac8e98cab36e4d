#pragma once

#include <array>
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

constexpr bool IsIntegerType(uint32_t code) { return code >= VTYPE_CHAR && code <= VTYPE_DWORD; }
constexpr bool IsNumericType(uint32_t code) { return code >= VTYPE_CHAR && code <= VTYPE_FRACTION; }
constexpr bool IsStringType(uint32_t code) { return code == VTYPE_STRING; }

// The signed types: 1, 3, 5, 6, 8, 9, 11.
constexpr bool IsSignedType(uint32_t code) {
    switch (code) {
    case VTYPE_CHAR:
    case VTYPE_SHORT:
    case VTYPE_INT:
    case VTYPE_LONG:
    case VTYPE_FLOAT:
    case VTYPE_DOUBLE:
    case VTYPE_FRACTION:
        return true;
    default:
        return false;
    }
}

// The size class: 1, 2, 4, 8 or 0.
constexpr int TypeSize(uint32_t code) {
    switch (code) {
    case VTYPE_CHAR:
    case VTYPE_BYTE:
    case VTYPE_BOOL:
        return 1;
    case VTYPE_SHORT:
    case VTYPE_WORD:
        return 2;
    case VTYPE_INT:
    case VTYPE_LONG:
    case VTYPE_DWORD:
    case VTYPE_FLOAT:
    case VTYPE_STRING:
        return 4;
    case VTYPE_DOUBLE:
    case VTYPE_FRACTION:
        return 8;
    default:
        return 0;
    }
}

namespace type_code_detail {

constexpr bool IsKnownType(uint32_t code) { return code >= VTYPE_CHAR && code <= VTYPE_STRING; }

// Step 8 of the common-type rule: two integer types (bool counts as an
// unsigned integer) meet in the larger size class, signed only when both are.
constexpr TypeCode CommonIntegerType(uint32_t a, uint32_t b) {
    const int size = TypeSize(a) > TypeSize(b) ? TypeSize(a) : TypeSize(b);
    const bool isSigned = IsSignedType(a) && IsSignedType(b);
    switch (size) {
    case 1: return isSigned ? VTYPE_CHAR : VTYPE_BYTE;
    case 2: return isSigned ? VTYPE_SHORT : VTYPE_WORD;
    case 4: return isSigned ? VTYPE_LONG : VTYPE_DWORD;
    default: return VTYPE_NONE;
    }
}

// The steps are ordered; the first that applies decides. Codes that name no
// type are treated like the empty code, so they never promote to a number.
constexpr TypeCode CommonTypeByRule(uint32_t a, uint32_t b) {
    if (!IsKnownType(a) || !IsKnownType(b)) return VTYPE_NONE;
    if (a == VTYPE_STRING) return b == VTYPE_STRING ? VTYPE_STRING : VTYPE_NONE;
    if (b == VTYPE_STRING) return VTYPE_NONE;
    if (a == VTYPE_BOOL && b == VTYPE_BOOL) return VTYPE_BOOL;
    if (a == VTYPE_DOUBLE || b == VTYPE_DOUBLE) return VTYPE_DOUBLE;
    if (a == VTYPE_FLOAT || b == VTYPE_FLOAT) return VTYPE_FLOAT;
    if (a == VTYPE_FRACTION || b == VTYPE_FRACTION) return VTYPE_FRACTION;
    return CommonIntegerType(a, b);
}

constexpr uint32_t kCodeCount = VTYPE_STRING + 1;

// Every operation asks for the common type, so the rule is worked out once
// for each pair of codes, when the program is compiled.
inline constexpr auto kCommonTypes = [] {
    std::array<std::array<TypeCode, kCodeCount>, kCodeCount> pairs{};
    for (uint32_t x = 0; x < kCodeCount; ++x) {
        for (uint32_t y = 0; y < kCodeCount; ++y) pairs[x][y] = CommonTypeByRule(x, y);
    }
    return pairs;
}();

}  // namespace type_code_detail

// The result type of every binary operation on values of codes a and b.
constexpr TypeCode CommonType(uint32_t a, uint32_t b) {
    using type_code_detail::kCodeCount;
    return a < kCodeCount && b < kCodeCount ? type_code_detail::kCommonTypes[a][b] : VTYPE_NONE;
}
