#include "value/TypeCode.h"

#include <array>

namespace {

bool IsKnownType(uint32_t code) { return code >= VTYPE_CHAR && code <= VTYPE_STRING; }

// Step 8 of the common-type rule: two integer types (bool counts as an
// unsigned integer) meet in the larger size class, signed only when both are.
TypeCode CommonIntegerType(uint32_t a, uint32_t b) {
    const int size = TypeSize(a) > TypeSize(b) ? TypeSize(a) : TypeSize(b);
    const bool isSigned = IsSignedType(a) && IsSignedType(b);
    switch (size) {
    case 1: return isSigned ? VTYPE_CHAR : VTYPE_BYTE;
    case 2: return isSigned ? VTYPE_SHORT : VTYPE_WORD;
    case 4: return isSigned ? VTYPE_LONG : VTYPE_DWORD;
    default: return VTYPE_NONE;
    }
}

}  // namespace

bool IsSignedType(uint32_t code) {
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

int TypeSize(uint32_t code) {
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

namespace {

// The steps are ordered; the first that applies decides. Codes that name no
// type are treated like the empty code, so they never promote to a number.
TypeCode CommonTypeByRule(uint32_t a, uint32_t b) {
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

}  // namespace

// Every operation asks for the common type, so the rule is worked out once
// for each pair of codes.
TypeCode CommonType(uint32_t a, uint32_t b) {
    static const auto table = [] {
        std::array<std::array<TypeCode, kCodeCount>, kCodeCount> pairs{};
        for (uint32_t x = 0; x < kCodeCount; ++x) {
            for (uint32_t y = 0; y < kCodeCount; ++y) pairs[x][y] = CommonTypeByRule(x, y);
        }
        return pairs;
    }();
    return a < kCodeCount && b < kCodeCount ? table[a][b] : VTYPE_NONE;
}
