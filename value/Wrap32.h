#pragma once

#include <cstdint>

// 32-bit integer arithmetic that wraps around instead of overflowing. The sums
// and products are done in unsigned arithmetic, where wrapping is defined; the
// quotient and remainder of INT32_MIN by -1 are INT32_MIN and 0 rather than a
// trap, and a zero divisor gives the quotient 0 and the dividend as remainder
// (so that quotient * divisor + remainder is still the dividend).

inline int32_t WrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

inline int32_t WrapSub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

inline int32_t WrapMul(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

inline int32_t WrapNegate(int32_t a) { return static_cast<int32_t>(0u - static_cast<uint32_t>(a)); }

inline int32_t WrapDiv(int32_t a, int32_t b) {
    if (b == 0) return 0;
    if (b == -1) return WrapNegate(a);
    return a / b;
}

inline int32_t WrapMod(int32_t a, int32_t b) {
    if (b == 0) return a;
    if (b == -1) return 0;
    return a % b;
}

inline uint32_t WrapDiv(uint32_t a, uint32_t b) { return b == 0 ? 0 : a / b; }

inline uint32_t WrapMod(uint32_t a, uint32_t b) { return b == 0 ? a : a % b; }
