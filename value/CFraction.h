#pragma once

#include <cstdint>

// A signed 32-bit numerator over a signed 32-bit denominator, kept reduced.
// The sign of the denominator is not normalised (3/-2 and -3/2 differ).
// No operation traps: arithmetic wraps around, a gcd of 0 leaves the pair as
// it is, and nothing divides by zero internally. A zero denominator stands for
// an infinite quotient (0/0 for an undefined one) and stays one through the
// arithmetic: 1/0 + 1/2 is 1/0, 1/0 - 1/0 is 0/0.
struct CFraction {
    int32_t num = 0;
    int32_t den = 1;

    CFraction() = default;
    // Reduces at once.
    CFraction(int32_t numerator, int32_t denominator);
    // Stores the pair as given.
    static CFraction Raw(int32_t numerator, int32_t denominator);

    double ToDouble() const;   // num / den in double
    bool operator==(const CFraction&) const = default;
};

int32_t Gcd(int32_t a, int32_t b);
CFraction Reduce(CFraction f);
CFraction FractionAdd(CFraction a, CFraction b);
CFraction FractionSub(CFraction a, CFraction b);
CFraction FractionMul(CFraction a, CFraction b);
CFraction FractionDiv(CFraction a, CFraction b);
CFraction FractionNegate(CFraction a);
// Raises the value-model text error (site 1990) for infinite or NaN input.
CFraction FractionFromDouble(double x);
