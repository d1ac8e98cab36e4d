#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "value/CValueData.h"
#include "ValueErrorMatchers.h"

namespace {

constexpr int32_t kIntMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

CValueData Frac(int32_t num, int32_t den) { return CValueData::Fraction(CFraction::Raw(num, den)); }

}  // namespace

TEST(ValueArithmetic, IntegersComputeInTheCommonType) {
    const CValueData quotient = CValueData::Int(7).Div(CValueData::Int(-2));
    EXPECT_EQ(quotient.Type(), VTYPE_LONG);
    EXPECT_EQ(quotient.AsLong(), -3);
    EXPECT_EQ(CValueData::Int(7).Mod(CValueData::Int(-2)).AsLong(), 1);
    EXPECT_EQ(CValueData::Int(-7).Mod(CValueData::Int(2)).AsLong(), -1);
    const CValueData unsignedQuotient = CValueData::Dword(7).Div(CValueData::Int(-2));
    EXPECT_EQ(unsignedQuotient.Type(), VTYPE_DWORD);
    EXPECT_EQ(unsignedQuotient.AsDword(), 0u);
    EXPECT_EQ(CValueData::Int(3).Add(CValueData::Int(4)).Type(), VTYPE_LONG);
    EXPECT_EQ(CValueData::Char(3).Mul(CValueData::Short(4)).Type(), VTYPE_SHORT);
}

TEST(ValueArithmetic, NarrowTypesWrapAround) {
    const CValueData charSum = CValueData::Char(100).Add(CValueData::Char(100));
    EXPECT_EQ(charSum.Type(), VTYPE_CHAR);
    EXPECT_EQ(charSum.AsChar(), -56);
    const CValueData byteSum = CValueData::Byte(200).Add(CValueData::Char(100));
    EXPECT_EQ(byteSum.Type(), VTYPE_BYTE);
    EXPECT_EQ(byteSum.AsByte(), 44);
    EXPECT_EQ(CValueData::Byte(200).Add(CValueData::Byte(100)).AsByte(), 44);
    EXPECT_EQ(CValueData::Char(-128).Div(CValueData::Char(-1)).AsChar(), -128);
    EXPECT_EQ(CValueData::Short(30000).Add(CValueData::Short(30000)).AsShort(), -5536);
    EXPECT_EQ(CValueData::Word(0).Sub(CValueData::Word(1)).AsWord(), 65535);
    EXPECT_EQ(CValueData::Byte(16).Mul(CValueData::Byte(16)).AsByte(), 0);
    EXPECT_EQ(CValueData::Byte(250).Div(CValueData::Byte(7)).AsByte(), 35);
    EXPECT_EQ(CValueData::Char(-7).Mod(CValueData::Char(3)).AsChar(), -1);
    EXPECT_EQ(CValueData::Byte(249).Mod(CValueData::Byte(10)).AsByte(), 9);
}

TEST(ValueArithmetic, ThirtyTwoBitsWrapWithoutTrapping) {
    EXPECT_EQ(CValueData::Int(kIntMax).Add(CValueData::Int(1)).AsLong(), kIntMin);
    EXPECT_EQ(CValueData::Int(kIntMin).Sub(CValueData::Int(1)).AsLong(), kIntMax);
    EXPECT_EQ(CValueData::Int(65536).Mul(CValueData::Int(65536)).AsLong(), 0);
    EXPECT_EQ(CValueData::Int(-65536).Mul(CValueData::Int(65537)).AsLong(), -65536);
    EXPECT_EQ(CValueData::Int(kIntMin).Div(CValueData::Int(-1)).AsLong(), kIntMin);
    EXPECT_EQ(CValueData::Int(kIntMin).Mod(CValueData::Int(-1)).AsLong(), 0);
    EXPECT_EQ(CValueData::Dword(0).Sub(CValueData::Dword(1)).AsDword(), 4294967295u);
    EXPECT_EQ(CValueData::Dword(4294967295u).Div(CValueData::Dword(2)).AsDword(), 2147483647u);
}

// The operators refuse a zero divisor before calling; called anyway, the
// quotient is 0 and the remainder the dividend, never a trap.
TEST(ValueArithmetic, IntegerDivisionByZeroDoesNotTrap) {
    EXPECT_EQ(CValueData::Int(7).Div(CValueData::Int(0)).AsLong(), 0);
    EXPECT_EQ(CValueData::Int(7).Mod(CValueData::Int(0)).AsLong(), 7);
    EXPECT_EQ(CValueData::Byte(7).Div(CValueData::Byte(0)).AsByte(), 0);
    EXPECT_EQ(CValueData::Dword(9).Mod(CValueData::Dword(0)).AsDword(), 9u);
}

TEST(ValueArithmetic, BoolsCombineLogically) {
    const CValueData t = CValueData::Bool(true);
    const CValueData f = CValueData::Bool(false);
    EXPECT_TRUE(t.Add(f).AsBool());
    EXPECT_EQ(t.Add(f).Type(), VTYPE_BOOL);
    EXPECT_FALSE(t.Sub(t).AsBool());
    EXPECT_TRUE(t.Sub(f).AsBool());
    EXPECT_FALSE(t.Mul(f).AsBool());
    EXPECT_TRUE(t.Mul(t).AsBool());
    EXPECT_FALSE(t.Div(t).AsBool());
    EXPECT_TRUE(RaisesAt(1029, [&] { t.Mod(t); }));
    // With an integer, bool counts as an unsigned integer.
    const CValueData mixed = t.Add(CValueData::Int(-2));
    EXPECT_EQ(mixed.Type(), VTYPE_DWORD);
    EXPECT_EQ(mixed.AsDword(), 4294967295u);
}

TEST(ValueArithmetic, FloatingTypes) {
    const CValueData single = CValueData::Float(1.5f).Add(CValueData::Int(2));
    EXPECT_EQ(single.Type(), VTYPE_FLOAT);
    EXPECT_EQ(single.AsFloat(), 3.5f);
    const CValueData wide = CValueData::Float(0.5f).Mul(CValueData::Double(3));
    EXPECT_EQ(wide.Type(), VTYPE_DOUBLE);
    EXPECT_EQ(wide.AsDouble(), 1.5);
    EXPECT_EQ(CValueData::Double(1).Div(CValueData::Double(4)).AsDouble(), 0.25);
    EXPECT_EQ(CValueData::Double(1).Div(CValueData::Double(0)).AsDouble(), std::numeric_limits<double>::infinity());
    EXPECT_EQ(CValueData::Fraction(CFraction(1, 2)).Add(CValueData::Double(1)).AsDouble(), 1.5);
    EXPECT_TRUE(RaisesAt(1029, [] { CValueData::Float(1).Mod(CValueData::Float(1)); }));
    EXPECT_TRUE(RaisesAt(1029, [] { CValueData::Double(1).Mod(CValueData::Int(1)); }));
}

TEST(ValueArithmetic, Fractions) {
    const CValueData sum = Frac(1, 2).Add(Frac(1, 3));
    EXPECT_EQ(sum.Type(), VTYPE_FRACTION);
    EXPECT_EQ(sum.AsFraction(), CFraction::Raw(5, 6));
    EXPECT_EQ(Frac(1, 2).Sub(Frac(1, 2)).AsFraction(), CFraction::Raw(0, 1));
    EXPECT_EQ(Frac(1, 4).Mul(CValueData::Int(2)).AsFraction(), CFraction::Raw(1, 2));
    EXPECT_EQ(Frac(1, 2).Div(Frac(-1, 3)).AsFraction(), CFraction::Raw(3, -2));
    EXPECT_EQ(CValueData::Int(1).Sub(Frac(1, 3)).AsFraction(), CFraction::Raw(2, 3));
    EXPECT_TRUE(RaisesAt(1029, [] { Frac(1, 2).Mod(Frac(1, 3)); }));
}

TEST(ValueArithmetic, StringsOnlyConcatenate) {
    // Each side ends at its first zero byte, as strcat would see it.
    const CValueData joined = CValueData::String(std::string_view("a\0x", 3)).Add(CValueData::String(std::string_view("c\0d", 3)));
    EXPECT_EQ(joined.StringRef().View(), "ac");
    const CValueData a = CValueData::String("a");
    EXPECT_TRUE(RaisesAt(834, [&] { a.Sub(a); }));
    EXPECT_TRUE(RaisesAt(905, [&] { a.Mul(a); }));
    EXPECT_TRUE(RaisesAt(976, [&] { a.Div(a); }));
    EXPECT_TRUE(RaisesAt(1029, [&] { a.Mod(a); }));
    EXPECT_TRUE(RaisesAt(763, [&] { a.Add(CValueData::Int(1)); }));
    EXPECT_TRUE(RaisesAt(763, [] { CValueData().Add(CValueData::Int(1)); }));
    EXPECT_EQ(a.StringRef().View(), "a");
}

TEST(ValueBitwise, ShiftsMaskTheCountAndKeepTheWidth) {
    EXPECT_EQ(CValueData::Word(65535).ShiftRight(CValueData::Word(4)).AsWord(), 4095);
    EXPECT_EQ(CValueData::Short(-16).ShiftRight(CValueData::Short(2)).AsShort(), -4);
    EXPECT_EQ(CValueData::Dword(2147483648u).ShiftRight(CValueData::Dword(31)).AsDword(), 1u);
    EXPECT_EQ(CValueData::Long(kIntMin).ShiftRight(CValueData::Long(31)).AsLong(), -1);
    EXPECT_EQ(CValueData::Byte(1).ShiftLeft(CValueData::Byte(8)).AsByte(), 0);
    EXPECT_EQ(CValueData::Char(-1).ShiftRight(CValueData::Char(20)).AsChar(), -1);
    EXPECT_EQ(CValueData::Byte(128).ShiftRight(CValueData::Byte(7)).AsByte(), 1);
    EXPECT_EQ(CValueData::Int(1).ShiftLeft(CValueData::Int(33)).AsLong(), 2);
    EXPECT_EQ(CValueData::Int(-1).ShiftLeft(CValueData::Int(31)).AsLong(), kIntMin);
    EXPECT_EQ(CValueData::Int(1).ShiftLeft(CValueData::Int(-1)).AsLong(), kIntMin);
    EXPECT_EQ(CValueData::Int(-8).ShiftRight(CValueData::Int(1)).Type(), VTYPE_LONG);
    EXPECT_EQ(CValueData::Int(-8).ShiftRight(CValueData::Int(1)).AsLong(), -4);
}

TEST(ValueBitwise, AndOrXorInTheCommonWidth) {
    const CValueData masked = CValueData::Char(-1).BitAnd(CValueData::Byte(0x0f));
    EXPECT_EQ(masked.Type(), VTYPE_BYTE);
    EXPECT_EQ(masked.AsByte(), 0x0f);
    EXPECT_EQ(CValueData::Int(0xf0).BitOr(CValueData::Int(0x0f)).AsLong(), 0xff);
    EXPECT_EQ(CValueData::Dword(0xffff0000u).BitXor(CValueData::Dword(0xffffffffu)).AsDword(), 0x0000ffffu);
}

TEST(ValueBitwise, OnlyIntegerTypesAreAccepted) {
    const CValueData x = CValueData::Double(1);
    const CValueData t = CValueData::Bool(true);
    EXPECT_TRUE(RaisesAt(1076, [&] { x.ShiftLeft(x); }));
    EXPECT_TRUE(RaisesAt(1123, [&] { t.ShiftRight(t); }));
    EXPECT_TRUE(RaisesAt(1170, [&] { x.BitAnd(CValueData::Int(1)); }));
    EXPECT_TRUE(RaisesAt(1217, [&] { Frac(1, 2).BitOr(CValueData::Int(1)); }));
    EXPECT_TRUE(RaisesAt(1264, [] { CValueData::String("a").BitXor(CValueData::String("a")); }));
}

TEST(ValueComparison, IntegersBySignedness) {
    EXPECT_TRUE(CValueData::Int(-1).Less(CValueData::Int(0)));
    EXPECT_FALSE(CValueData::Int(-1).Less(CValueData::Dword(0)));   // -1 reads as 4294967295
    EXPECT_FALSE(CValueData::Char(-1).Less(CValueData::Byte(0)));
    EXPECT_TRUE(CValueData::Char(-1).Less(CValueData::Char(0)));
    EXPECT_TRUE(CValueData::Short(5).LessEqual(CValueData::Short(5)));
    EXPECT_TRUE(CValueData::Word(65535).Greater(CValueData::Short(1)));
    EXPECT_TRUE(CValueData::Int(300).Equal(CValueData::Long(300)));
    EXPECT_TRUE(CValueData::Char(44).NotEqual(CValueData::Int(300)));
    EXPECT_TRUE(CValueData::Bool(true).Greater(CValueData::Bool(false)));
    EXPECT_TRUE(CValueData::Bool(true).Equal(CValueData::Int(1)));
}

TEST(ValueComparison, FloatingValuesAsIeee) {
    const CValueData nan = CValueData::Double(kNaN);
    const CValueData one = CValueData::Double(1);
    EXPECT_FALSE(nan.Less(one));
    EXPECT_FALSE(nan.GreaterEqual(one));
    EXPECT_FALSE(nan.Equal(nan));
    EXPECT_TRUE(nan.NotEqual(nan));
    EXPECT_TRUE(CValueData::Double(-0.0).Equal(CValueData::Int(0)));
    EXPECT_TRUE(CValueData::Float(0.1f).NotEqual(CValueData::Double(0.1)));
    EXPECT_TRUE(CValueData::Float(0.1f).Equal(CValueData::Float(0.1f)));
}

TEST(ValueComparison, FractionsOrderByQuotientAndEqualAsReducedPairs) {
    EXPECT_TRUE(Frac(1, 3).Less(Frac(1, 2)));
    EXPECT_TRUE(Frac(1, 3).Less(CValueData::Double(0.34)));
    EXPECT_TRUE(Frac(2, 4).Equal(Frac(1, 2)));
    EXPECT_FALSE(Frac(3, -2).Equal(Frac(-3, 2)));
    EXPECT_TRUE(Frac(3, -2).NotEqual(Frac(-3, 2)));
    EXPECT_TRUE(Frac(3, -2).LessEqual(Frac(-3, 2)));
    EXPECT_TRUE(Frac(6, 3).Equal(CValueData::Int(2)));
    EXPECT_TRUE(Frac(1, 3).Equal(Frac(1, 3)));
}

TEST(ValueComparison, StringsOnlyCompareForEquality) {
    const CValueData ab = CValueData::String("ab");
    EXPECT_TRUE(ab.Equal(CValueData::String("ab")));
    EXPECT_FALSE(ab.Equal(CValueData::String("abc")));
    EXPECT_TRUE(ab.NotEqual(CValueData::String("ba")));
    EXPECT_TRUE(RaisesAt(1325, [&] { ab.Less(ab); }));
    EXPECT_TRUE(RaisesAt(1386, [&] { ab.LessEqual(ab); }));
    EXPECT_TRUE(RaisesAt(1447, [&] { ab.Greater(ab); }));
    EXPECT_TRUE(RaisesAt(1508, [&] { ab.GreaterEqual(ab); }));
    EXPECT_TRUE(RaisesAt(1574, [&] { ab.Equal(CValueData::Int(1)); }));
    EXPECT_TRUE(RaisesAt(1640, [] { CValueData().NotEqual(CValueData()); }));
}

TEST(ValueLogical, TestsEachSideInTheCommonType) {
    EXPECT_TRUE(CValueData::Int(2).LogicalAnd(CValueData::Int(1)));
    EXPECT_FALSE(CValueData::Int(2).LogicalAnd(CValueData::Char(0)));
    EXPECT_TRUE(CValueData::Int(0).LogicalOr(CValueData::Int(256)));
    EXPECT_FALSE(CValueData::Double(0.0).LogicalOr(Frac(0, 1)));
    EXPECT_TRUE(Frac(1, 3).LogicalAnd(CValueData::Bool(true)));
    EXPECT_FALSE(CValueData::Double(-0.0).LogicalOr(CValueData::Float(0)));
    EXPECT_TRUE(CValueData::Double(kNaN).LogicalAnd(CValueData::Double(1)));
    EXPECT_TRUE(RaisesAt(1701, [] { CValueData::String("a").LogicalAnd(CValueData::String("a")); }));
    EXPECT_TRUE(RaisesAt(1762, [] { CValueData().LogicalOr(CValueData::Int(1)); }));
}

TEST(ValueUnary, NegateWorksInPlaceAndKeepsTheType) {
    CValueData byte = CValueData::Byte(1);
    const CValueData copy = byte.Negate();
    EXPECT_EQ(byte.AsByte(), 255);
    EXPECT_EQ(copy.AsByte(), 255);
    EXPECT_EQ(byte.Type(), VTYPE_BYTE);

    CValueData c = CValueData::Char(-128);
    EXPECT_EQ(c.Negate().AsChar(), -128);
    CValueData s = CValueData::Short(std::numeric_limits<int16_t>::min());
    EXPECT_EQ(s.Negate().AsShort(), std::numeric_limits<int16_t>::min());
    CValueData i = CValueData::Int(kIntMin);
    EXPECT_EQ(i.Negate().AsInt(), kIntMin);
    EXPECT_EQ(i.Type(), VTYPE_INT);
    CValueData w = CValueData::Word(1);
    EXPECT_EQ(w.Negate().AsWord(), 65535);
    CValueData d = CValueData::Dword(1);
    EXPECT_EQ(d.Negate().AsDword(), 4294967295u);
}

TEST(ValueUnary, NegateOfOtherTypes) {
    CValueData zero = CValueData::Float(0.0f);
    EXPECT_TRUE(std::signbit(zero.Negate().AsFloat()));
    CValueData x = CValueData::Double(2.5);
    EXPECT_EQ(x.Negate().AsDouble(), -2.5);
    CValueData t = CValueData::Bool(true);
    EXPECT_FALSE(t.Negate().AsBool());
    EXPECT_TRUE(t.Negate().AsBool());
    CValueData half = Frac(1, 2);
    EXPECT_EQ(half.Negate().AsFraction(), CFraction::Raw(-1, 2));
    CValueData negativeDenominator = Frac(2, -4);
    EXPECT_EQ(negativeDenominator.Negate().AsFraction(), CFraction::Raw(-1, -2));
}

TEST(ValueUnary, NegateRefusesNonNumbersAndLeavesThemAlone) {
    CValueData text = CValueData::String("a");
    EXPECT_TRUE(RaisesAt(657, [&] { text.Negate(); }));
    EXPECT_EQ(text.StringRef().View(), "a");
    CValueData empty;
    EXPECT_TRUE(RaisesAt(657, [&] { empty.Negate(); }));
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(ValueUnary, PlusCopies) {
    const CValueData i = CValueData::Int(-3);
    EXPECT_EQ(i.Plus().AsInt(), -3);
    EXPECT_EQ(i.Plus().Type(), VTYPE_INT);
    EXPECT_EQ(Frac(2, 4).Plus().AsFraction(), CFraction::Raw(2, 4));
    EXPECT_TRUE(RaisesAt(633, [] { CValueData::String("a").Plus(); }));
    EXPECT_TRUE(RaisesAt(633, [] { CValueData().Plus(); }));
}
