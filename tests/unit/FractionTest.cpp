#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "value/CFraction.h"
#include "ValueErrorMatchers.h"

namespace {

constexpr int32_t kIntMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();

CFraction F(int32_t num, int32_t den) { return CFraction::Raw(num, den); }

}  // namespace

TEST(FractionGcd, WorksOnMagnitudes) {
    EXPECT_EQ(Gcd(12, 18), 6);
    EXPECT_EQ(Gcd(18, 12), 6);
    EXPECT_EQ(Gcd(-12, 18), 6);
    EXPECT_EQ(Gcd(12, -18), 6);
    EXPECT_EQ(Gcd(0, 5), 5);
    EXPECT_EQ(Gcd(-5, 0), 5);
    EXPECT_EQ(Gcd(0, 0), 0);
    EXPECT_EQ(Gcd(kIntMin, 6), 2);
    EXPECT_EQ(Gcd(kIntMin, kIntMax), 1);
    EXPECT_EQ(Gcd(kIntMin, 0), kIntMin);   // 2^31 as its 32-bit pattern
}

TEST(FractionReduce, DividesByTheGcdAndKeepsTheDenominatorSign) {
    EXPECT_EQ(Reduce(F(6, 8)), F(3, 4));
    EXPECT_EQ(Reduce(F(-6, 8)), F(-3, 4));
    EXPECT_EQ(Reduce(F(6, -8)), F(3, -4));
    EXPECT_EQ(Reduce(F(0, 5)), F(0, 1));
    EXPECT_EQ(Reduce(F(0, -5)), F(0, -1));
    EXPECT_EQ(Reduce(F(kIntMin, 2)), F(-1073741824, 1));
    EXPECT_EQ(Reduce(F(kIntMin, kIntMin)), F(-1, -1));
    EXPECT_EQ(Reduce(F(kIntMin, -1)), F(kIntMin, -1));
}

TEST(FractionReduce, ZeroDenominatorsNeverTrap) {
    EXPECT_EQ(Reduce(F(0, 0)), F(0, 0));   // the gcd is 0: left as it is
    EXPECT_EQ(Reduce(F(5, 0)), F(1, 0));
    EXPECT_EQ(Reduce(F(-5, 0)), F(-1, 0));
    EXPECT_EQ(Reduce(F(kIntMin, 0)), F(-1, 0));
}

TEST(FractionConstruction, ReducesButRawDoesNot) {
    const CFraction reduced(2, 4);
    EXPECT_EQ(reduced.num, 1);
    EXPECT_EQ(reduced.den, 2);
    EXPECT_EQ(F(2, 4).num, 2);
    EXPECT_EQ(CFraction(), F(0, 1));
}

TEST(FractionToDouble, QuotientWithExplicitZeroDenominators) {
    EXPECT_EQ(F(3, -2).ToDouble(), -1.5);
    EXPECT_EQ(F(1, 0).ToDouble(), std::numeric_limits<double>::infinity());
    EXPECT_EQ(F(-1, 0).ToDouble(), -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(F(0, 0).ToDouble()));
}

TEST(FractionArithmetic, AddAndSubtractOverTheLeastCommonMultiple) {
    EXPECT_EQ(FractionAdd(F(1, 2), F(1, 3)), F(5, 6));
    EXPECT_EQ(FractionAdd(F(1, 6), F(1, 4)), F(5, 12));
    EXPECT_EQ(FractionAdd(F(1, 2), F(1, -3)), F(1, 6));
    EXPECT_EQ(FractionAdd(F(2, 4), F(0, 1)), F(1, 2));   // the result is reduced
    EXPECT_EQ(FractionSub(F(1, 2), F(1, 2)), F(0, 1));
    EXPECT_EQ(FractionSub(F(-1, 2), F(1, 2)), F(-1, 1));
    EXPECT_EQ(FractionSub(F(1, 3), F(1, 6)), F(1, 6));
}

TEST(FractionArithmetic, MultiplyDivideNegate) {
    EXPECT_EQ(FractionMul(F(1, 4), F(2, 1)), F(1, 2));
    EXPECT_EQ(FractionMul(F(-2, 3), F(3, 4)), F(-1, 2));
    EXPECT_EQ(FractionDiv(F(1, 2), F(-1, 3)), F(3, -2));
    EXPECT_EQ(FractionDiv(F(3, 4), F(3, 8)), F(2, 1));
    EXPECT_EQ(FractionNegate(F(1, 2)), F(-1, 2));
    EXPECT_EQ(FractionNegate(F(2, -4)), F(-1, -2));
}

TEST(FractionArithmetic, OverflowWrapsWithoutTrapping) {
    EXPECT_EQ(FractionMul(F(65536, 1), F(65536, 1)), F(0, 1));
    EXPECT_EQ(FractionAdd(F(kIntMax, 1), F(1, 1)), F(kIntMin, 1));
    EXPECT_EQ(FractionDiv(F(kIntMin, 1), F(-1, 1)), F(kIntMin, -1));
    EXPECT_EQ(FractionNegate(F(kIntMin, 1)), F(kIntMin, 1));
    // l = |INT_MIN| wraps to INT_MIN, and l / -1 must not trap.
    EXPECT_EQ(FractionAdd(F(1, kIntMin), F(1, -1)), F(-2147483647, kIntMin));
    EXPECT_EQ(FractionSub(F(1, kIntMin), F(1, kIntMin)), F(0, -1));   // the sign of the denominator stays
}

// A zero denominator behaves as an infinite quotient: sums use the plain cross
// product, products and quotients follow their formulas, and nothing divides
// by zero.
TEST(FractionArithmetic, ZeroDenominatorsStayConsistent) {
    EXPECT_EQ(FractionAdd(F(1, 0), F(1, 2)), F(1, 0));
    EXPECT_EQ(FractionAdd(F(1, 2), F(1, 0)), F(1, 0));
    EXPECT_EQ(FractionAdd(F(-1, 0), F(1, 2)), F(-1, 0));
    EXPECT_EQ(FractionSub(F(1, 0), F(1, 0)), F(0, 0));
    EXPECT_EQ(FractionSub(F(1, 2), F(1, 0)), F(-1, 0));
    EXPECT_EQ(FractionAdd(F(0, 0), F(1, 2)), F(0, 0));
    EXPECT_EQ(FractionMul(F(1, 0), F(0, 1)), F(0, 0));
    EXPECT_EQ(FractionDiv(F(1, 2), F(0, 1)), F(1, 0));
    EXPECT_EQ(FractionDiv(F(0, 1), F(0, 1)), F(0, 0));
    EXPECT_EQ(FractionNegate(F(0, 0)), F(0, 0));
}

TEST(FractionFromDouble, ExactBinaryFractions) {
    EXPECT_EQ(FractionFromDouble(0.75), F(3, 4));
    EXPECT_EQ(FractionFromDouble(-0.75), F(-3, 4));
    EXPECT_EQ(FractionFromDouble(3.0), F(3, 1));
    EXPECT_EQ(FractionFromDouble(0.0), F(0, 1));
    EXPECT_EQ(FractionFromDouble(-0.0), F(0, 1));
    EXPECT_EQ(FractionFromDouble(0.1), F(1, 10));
    EXPECT_EQ(FractionFromDouble(2147483647.0), F(kIntMax, 1));
    EXPECT_EQ(FractionFromDouble(-2147483648.0), F(kIntMin, 1));
}

TEST(FractionFromDouble, ApproximatesOtherValues) {
    const CFraction third = FractionFromDouble(1.0 / 3.0);
    EXPECT_NEAR(third.ToDouble(), 1.0 / 3.0, 1e-9);
    const CFraction pi = FractionFromDouble(3.14159265358979);
    EXPECT_NEAR(pi.ToDouble(), 3.14159265358979, 1e-8);
}

// Beyond the 32-bit range the denominator halves down to 0 (an infinite
// quotient); far below it the numerator does (zero).
TEST(FractionFromDouble, ExtremeMagnitudesEndInAnOrderlyWay) {
    EXPECT_EQ(FractionFromDouble(2147483648.0), F(1, 0));
    EXPECT_EQ(FractionFromDouble(1e300), F(1, 0));
    EXPECT_EQ(FractionFromDouble(-1e300), F(-1, 0));
    EXPECT_EQ(FractionFromDouble(DBL_MAX), F(1, 0));
    EXPECT_EQ(FractionFromDouble(1e-300), F(0, 1));
    EXPECT_EQ(FractionFromDouble(-DBL_MIN), F(0, 1));
    EXPECT_EQ(FractionFromDouble(std::numeric_limits<double>::denorm_min()), F(0, 1));
}

TEST(FractionFromDouble, InfiniteAndNaNRaise) {
    EXPECT_TRUE(RaisesAt(1990, [] { FractionFromDouble(std::numeric_limits<double>::infinity()); }));
    EXPECT_TRUE(RaisesAt(1990, [] { FractionFromDouble(-std::numeric_limits<double>::infinity()); }));
    EXPECT_TRUE(RaisesAt(1990, [] { FractionFromDouble(std::numeric_limits<double>::quiet_NaN()); }));
}

// Every finite double must end, whatever its exponent or mantissa; under the
// sanitizers this also checks that no conversion leaves the integer range.
TEST(FractionFromDouble, EndsForEveryExponentAndRandomBitPatterns) {
    for (int exponent = -1074; exponent <= 1023; ++exponent) {
        for (const double mantissa : {1.0, 1.1, 1.9999999999999998, -1.3}) {
            const CFraction f = FractionFromDouble(std::ldexp(mantissa, exponent));
            EXPECT_TRUE(f.den >= 0) << exponent;
        }
    }
    std::mt19937_64 random(12345);
    for (int i = 0; i < 20000; ++i) {
        const uint64_t bits = random();
        double x;
        std::memcpy(&x, &bits, sizeof x);
        if (!std::isfinite(x)) continue;
        const CFraction f = FractionFromDouble(x);
        // The denominator is truncated after the halving, so the quotient is
        // only close, not exact.
        if (std::fabs(x) >= 1e-3 && std::fabs(x) <= 1e3) {
            EXPECT_NEAR(f.ToDouble(), x, std::fabs(x) * 1e-4 + 2e-9);
        }
    }
}
