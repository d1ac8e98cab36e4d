#include "value/CFraction.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

#include "value/CTextError.h"
#include "value/Wrap32.h"

namespace {

constexpr int kFractionFromDoubleSite = 1990;

uint32_t Magnitude(int32_t v) { return v < 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v); }

uint32_t MagnitudeGcd(uint32_t a, uint32_t b) {
    if (a < b) std::swap(a, b);
    while (b != 0) {
        const uint32_t r = a % b;
        a = b;
        b = r;
    }
    return a;
}

// v / g for a divisor given as a magnitude; exact when g divides v. Done on
// magnitudes so that INT32_MIN divides without overflow.
int32_t DivideByMagnitude(int32_t v, uint32_t g) {
    const uint32_t quotient = Magnitude(v) / g;
    return static_cast<int32_t>(v < 0 ? 0u - quotient : quotient);
}

// A zero denominator stands for an infinite quotient (or, as 0/0, an undefined
// one). Sums with such an operand have no least common multiple to work with,
// so they use the plain cross product (a*d + sign*c*b) / (b*d), which keeps
// that meaning: 1/0 + 1/2 is 1/0 and 1/0 - 1/0 is 0/0.
CFraction CrossSum(CFraction a, CFraction b, int32_t sign) {
    const int32_t numerator = WrapAdd(WrapMul(a.num, b.den), WrapMul(sign, WrapMul(b.num, a.den)));
    return Reduce(CFraction::Raw(numerator, WrapMul(a.den, b.den)));
}

// a/b + sign * c/d over the least common multiple l of |b| and |d|.
CFraction SumOverCommonMultiple(CFraction a, CFraction b, int32_t sign) {
    if (a.den == 0 || b.den == 0) return CrossSum(a, b, sign);
    const int32_t g = Gcd(a.den, b.den);
    const int32_t l = WrapMul(static_cast<int32_t>(Magnitude(a.den)), WrapDiv(static_cast<int32_t>(Magnitude(b.den)), g));
    const int32_t left = WrapMul(WrapDiv(l, a.den), a.num);
    const int32_t right = WrapMul(WrapDiv(l, b.den), b.num);
    return Reduce(CFraction::Raw(WrapAdd(left, WrapMul(sign, right)), l));
}

}  // namespace

CFraction::CFraction(int32_t numerator, int32_t denominator) : CFraction(Reduce(Raw(numerator, denominator))) {}

CFraction CFraction::Raw(int32_t numerator, int32_t denominator) {
    CFraction f;
    f.num = numerator;
    f.den = denominator;
    return f;
}

double CFraction::ToDouble() const {
    if (den != 0) return static_cast<double>(num) / static_cast<double>(den);
    if (num == 0) return std::numeric_limits<double>::quiet_NaN();
    return num > 0 ? std::numeric_limits<double>::infinity() : -std::numeric_limits<double>::infinity();
}

// gcd(|a|, |b|), with gcd(a, 0) = |a|. The one result that does not fit,
// 2^31 (from INT32_MIN and 0 or INT32_MIN), comes back as its bit pattern.
int32_t Gcd(int32_t a, int32_t b) { return static_cast<int32_t>(MagnitudeGcd(Magnitude(a), Magnitude(b))); }

CFraction Reduce(CFraction f) {
    const uint32_t g = MagnitudeGcd(Magnitude(f.num), Magnitude(f.den));
    if (g == 0) return f;
    return CFraction::Raw(DivideByMagnitude(f.num, g), DivideByMagnitude(f.den, g));
}

CFraction FractionAdd(CFraction a, CFraction b) { return SumOverCommonMultiple(a, b, 1); }

CFraction FractionSub(CFraction a, CFraction b) { return SumOverCommonMultiple(a, b, -1); }

CFraction FractionMul(CFraction a, CFraction b) {
    return Reduce(CFraction::Raw(WrapMul(a.num, b.num), WrapMul(a.den, b.den)));
}

CFraction FractionDiv(CFraction a, CFraction b) {
    return Reduce(CFraction::Raw(WrapMul(a.num, b.den), WrapMul(a.den, b.num)));
}

CFraction FractionNegate(CFraction a) { return Reduce(CFraction::Raw(WrapNegate(a.num), a.den)); }

// Scales x to a numerator over a power of two, shifts decimal digits into the
// numerator until it is whole, then halves both until they fit 32 bits.
// The numerator and denominator are kept in long double: for very large or
// very small x they pass the range of double (x * 2^e for x near 1e308, a
// denominator of 2^1074 for the smallest denormal), where the halving loop
// would never end. Every step is exact in long double except the decimal
// shift, which is rounded to double as the value itself would be; a number
// with a fractional part is below 2^53, so that shift ends within 17 steps.
CFraction FractionFromDouble(double x) {
    static_assert(std::numeric_limits<long double>::max_exponent >= 2 * std::numeric_limits<double>::max_exponent + 64,
                  "the scaled numerator and denominator must not overflow");
    if (!std::isfinite(x)) RaiseValueError(kFractionFromDoubleSite);
    int exponent = 0;
    std::frexp(x, &exponent);
    const int scale = exponent >= 1 ? exponent : 1 - exponent;
    long double numerator = std::ldexp(static_cast<long double>(x), scale);
    long double denominator = std::ldexp(1.0L, scale);
    while (std::fmod(numerator, 1.0L) != 0.0L) {
        numerator = static_cast<double>(numerator * 10);
        denominator *= 10;
    }
    constexpr long double kMax = std::numeric_limits<int32_t>::max();
    constexpr long double kMin = std::numeric_limits<int32_t>::min();
    while (numerator > kMax || numerator < kMin || denominator > kMax) {
        numerator /= 2;
        denominator /= 2;
    }
    return CFraction(static_cast<int32_t>(numerator), static_cast<int32_t>(denominator));
}
