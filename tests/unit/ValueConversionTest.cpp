#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "value/CValueData.h"
#include "ValueErrorMatchers.h"

namespace {

constexpr int32_t kIntMin = std::numeric_limits<int32_t>::min();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

CValueData Stored(CValueData target, const CValueData& source) {
    target.Store(source);
    return target;
}

}  // namespace

TEST(TypeClasses, FollowTheTypeTable) {
    for (uint32_t code = 0; code <= 13; ++code) {
        EXPECT_EQ(IsIntegerType(code), code >= 1 && code <= 7) << code;
        EXPECT_EQ(IsNumericType(code), code >= 1 && code <= 11) << code;
        EXPECT_EQ(IsStringType(code), code == 12) << code;
    }
    const std::vector<uint32_t> signedCodes{1, 3, 5, 6, 8, 9, 11};
    const std::vector<int> sizes{0, 1, 1, 2, 2, 4, 4, 4, 4, 8, 1, 8, 4, 0};
    for (uint32_t code = 0; code <= 13; ++code) {
        EXPECT_EQ(IsSignedType(code), std::find(signedCodes.begin(), signedCodes.end(), code) != signedCodes.end())
            << code;
        EXPECT_EQ(TypeSize(code), sizes[code]) << code;
    }
}

TEST(CommonType, StepsApplyInOrder) {
    EXPECT_EQ(CommonType(VTYPE_NONE, VTYPE_INT), VTYPE_NONE);
    EXPECT_EQ(CommonType(VTYPE_STRING, VTYPE_NONE), VTYPE_NONE);
    EXPECT_EQ(CommonType(VTYPE_STRING, VTYPE_STRING), VTYPE_STRING);
    EXPECT_EQ(CommonType(VTYPE_STRING, VTYPE_INT), VTYPE_NONE);
    EXPECT_EQ(CommonType(VTYPE_INT, VTYPE_STRING), VTYPE_NONE);
    EXPECT_EQ(CommonType(VTYPE_BOOL, VTYPE_BOOL), VTYPE_BOOL);
    EXPECT_EQ(CommonType(VTYPE_BOOL, VTYPE_DOUBLE), VTYPE_DOUBLE);
    EXPECT_EQ(CommonType(VTYPE_DOUBLE, VTYPE_BOOL), VTYPE_DOUBLE);
    EXPECT_EQ(CommonType(VTYPE_FLOAT, VTYPE_DOUBLE), VTYPE_DOUBLE);
    EXPECT_EQ(CommonType(VTYPE_FRACTION, VTYPE_FLOAT), VTYPE_FLOAT);
    EXPECT_EQ(CommonType(VTYPE_FRACTION, VTYPE_DOUBLE), VTYPE_DOUBLE);
    EXPECT_EQ(CommonType(VTYPE_FRACTION, VTYPE_INT), VTYPE_FRACTION);
    EXPECT_EQ(CommonType(VTYPE_BOOL, VTYPE_FRACTION), VTYPE_FRACTION);
    EXPECT_EQ(CommonType(VTYPE_DWORD, VTYPE_FLOAT), VTYPE_FLOAT);
}

TEST(CommonType, IntegersMeetInTheLargerSizeSignedOnlyWhenBothAre) {
    EXPECT_EQ(CommonType(VTYPE_INT, VTYPE_INT), VTYPE_LONG);
    EXPECT_EQ(CommonType(VTYPE_CHAR, VTYPE_CHAR), VTYPE_CHAR);
    EXPECT_EQ(CommonType(VTYPE_CHAR, VTYPE_BYTE), VTYPE_BYTE);
    EXPECT_EQ(CommonType(VTYPE_BOOL, VTYPE_CHAR), VTYPE_BYTE);
    EXPECT_EQ(CommonType(VTYPE_BOOL, VTYPE_INT), VTYPE_DWORD);
    EXPECT_EQ(CommonType(VTYPE_SHORT, VTYPE_WORD), VTYPE_WORD);
    EXPECT_EQ(CommonType(VTYPE_INT, VTYPE_DWORD), VTYPE_DWORD);
    EXPECT_EQ(CommonType(VTYPE_CHAR, VTYPE_SHORT), VTYPE_SHORT);
    EXPECT_EQ(CommonType(VTYPE_BYTE, VTYPE_SHORT), VTYPE_WORD);
    EXPECT_EQ(CommonType(VTYPE_CHAR, VTYPE_LONG), VTYPE_LONG);
    EXPECT_EQ(CommonType(VTYPE_WORD, VTYPE_WORD), VTYPE_WORD);
}

TEST(CommonType, CodesThatNameNoTypeGiveNoType) {
    EXPECT_EQ(CommonType(13, VTYPE_INT), VTYPE_NONE);
    EXPECT_EQ(CommonType(VTYPE_CHAR, 0xffffffffu), VTYPE_NONE);
}

TEST(ValueConstruction, EachConstructorSetsItsCode) {
    EXPECT_EQ(CValueData().Type(), VTYPE_NONE);
    EXPECT_TRUE(CValueData().IsEmpty());
    EXPECT_EQ(CValueData::Char(-1).Type(), VTYPE_CHAR);
    EXPECT_EQ(CValueData::Byte(1).Type(), VTYPE_BYTE);
    EXPECT_EQ(CValueData::Short(1).Type(), VTYPE_SHORT);
    EXPECT_EQ(CValueData::Word(1).Type(), VTYPE_WORD);
    EXPECT_EQ(CValueData::Int(1).Type(), VTYPE_INT);
    EXPECT_EQ(CValueData::Long(1).Type(), VTYPE_LONG);
    EXPECT_EQ(CValueData::Dword(1).Type(), VTYPE_DWORD);
    EXPECT_EQ(CValueData::Float(1).Type(), VTYPE_FLOAT);
    EXPECT_EQ(CValueData::Double(1).Type(), VTYPE_DOUBLE);
    EXPECT_EQ(CValueData::Bool(true).Type(), VTYPE_BOOL);
    EXPECT_EQ(CValueData::Fraction(CFraction(1, 2)).Type(), VTYPE_FRACTION);
    EXPECT_EQ(CValueData::String("x").Type(), VTYPE_STRING);
}

TEST(ValueConstruction, FractionIsStoredAsGiven) {
    const CFraction f = CValueData::Fraction(CFraction::Raw(2, 4)).AsFraction();
    EXPECT_EQ(f.num, 2);
    EXPECT_EQ(f.den, 4);
}

TEST(ValueConstruction, ZeroOfEachType) {
    EXPECT_EQ(CValueData::ZeroOf(VTYPE_INT).AsInt(), 0);
    EXPECT_EQ(CValueData::ZeroOf(VTYPE_LONG).Type(), VTYPE_LONG);
    EXPECT_FALSE(CValueData::ZeroOf(VTYPE_BOOL).AsBool());
    EXPECT_EQ(CValueData::ZeroOf(VTYPE_FRACTION).AsFraction(), CFraction::Raw(0, 1));
    EXPECT_EQ(CValueData::ZeroOf(VTYPE_STRING).AsString().Length(), 0);
    EXPECT_TRUE(CValueData::ZeroOf(VTYPE_NONE).IsEmpty());
    EXPECT_TRUE(CValueData::ZeroOf(13).IsEmpty());
}

TEST(ValueConstruction, StringsKeepEveryByte) {
    const std::string bytes("a\0b\xe3\x81\x82\"\\", 8);
    const CValueData value = CValueData::String(bytes);
    EXPECT_EQ(value.StringRef().View(), bytes);
    EXPECT_EQ(CValueData(value).StringRef().View(), bytes);
}

TEST(ValueCopies, AreDeep) {
    const CValueData source = CValueData::Int(5);
    CValueData copy(source);
    copy.Negate();
    EXPECT_EQ(source.AsInt(), 5);
    EXPECT_EQ(copy.AsInt(), -5);

    const CValueData text = CValueData::String("ab");
    CValueData other = text;
    other.Assign(CValueData::String("changed"));
    EXPECT_EQ(text.StringRef().View(), "ab");
    EXPECT_NE(text.StringRef().Text(), CValueData(text).StringRef().Text());
}

TEST(ValueCopies, MovedFromValueIsEmpty) {
    CValueData source = CValueData::String("ab");
    CValueData target = std::move(source);
    EXPECT_EQ(target.StringRef().View(), "ab");
    EXPECT_TRUE(source.IsEmpty());   // NOLINT(bugprone-use-after-move): the state is part of the contract
    CValueData assigned;
    assigned = std::move(target);
    EXPECT_TRUE(target.IsEmpty());   // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(assigned.StringRef().View(), "ab");
}

TEST(ValueCopies, SelfAssignmentKeepsTheValue) {
    CValueData value = CValueData::String("ab");
    const CValueData& alias = value;
    value.Assign(alias);
    EXPECT_EQ(value.StringRef().View(), "ab");
}

TEST(ValueAssign, TakesTheSourceType) {
    CValueData value = CValueData::Double(1.5);
    value.Assign(CValueData::String("s"));
    EXPECT_EQ(value.Type(), VTYPE_STRING);
    EXPECT_EQ(value.StringRef().View(), "s");
    value.Assign(CValueData());
    EXPECT_TRUE(value.IsEmpty());
}

TEST(ValueClear, LeavesTheEmptyValue) {
    CValueData value = CValueData::String("s");
    value.Clear();
    EXPECT_TRUE(value.IsEmpty());
    EXPECT_TRUE(RaisesAt(2002, [&] { value.AsString(); }));
}

TEST(ValueStore, KeepsTheTargetTypeAndWraps) {
    EXPECT_EQ(Stored(CValueData::Char(0), CValueData::Int(300)).AsChar(), 44);
    EXPECT_EQ(Stored(CValueData::Byte(0), CValueData::Int(300)).AsByte(), 44);
    EXPECT_EQ(Stored(CValueData::Word(0), CValueData::Int(-1)).AsWord(), 65535);
    EXPECT_EQ(Stored(CValueData::Dword(0), CValueData::Int(-1)).AsDword(), 4294967295u);
    EXPECT_EQ(Stored(CValueData::Char(0), CValueData::Int(300)).Type(), VTYPE_CHAR);
    EXPECT_EQ(Stored(CValueData::Int(0), CValueData::Long(7)).Type(), VTYPE_INT);
}

TEST(ValueStore, TruncatesFloatingValuesTowardZero) {
    EXPECT_EQ(Stored(CValueData::Int(0), CValueData::Double(3.99)).AsInt(), 3);
    EXPECT_EQ(Stored(CValueData::Int(0), CValueData::Double(-3.99)).AsInt(), -3);
    EXPECT_EQ(Stored(CValueData::Int(0), CValueData::Double(1e10)).AsInt(), kIntMin);
}

TEST(ValueStore, EmptyTargetAdoptsTheSourceType) {
    EXPECT_EQ(Stored(CValueData(), CValueData::Fraction(CFraction::Raw(2, 4))).AsFraction(), CFraction::Raw(2, 4));
    EXPECT_EQ(Stored(CValueData(), CValueData::String("s")).StringRef().View(), "s");
    EXPECT_EQ(Stored(CValueData(), CValueData::Word(9)).Type(), VTYPE_WORD);
    EXPECT_TRUE(Stored(CValueData(), CValueData()).IsEmpty());
}

TEST(ValueStore, RefusedConversionLeavesTheTargetUnchanged) {
    CValueData number = CValueData::Double(2.5);
    EXPECT_TRUE(RaisesAt(1944, [&] { number.Store(CValueData::String("s")); }));
    EXPECT_EQ(number.Type(), VTYPE_DOUBLE);
    EXPECT_EQ(number.AsDouble(), 2.5);

    CValueData text = CValueData::String("keep");
    EXPECT_TRUE(RaisesAt(2002, [&] { text.Store(CValueData::Int(1)); }));
    EXPECT_EQ(text.StringRef().View(), "keep");

    CValueData integer = CValueData::Int(4);
    EXPECT_TRUE(RaisesAt(1864, [&] { integer.Store(CValueData()); }));
    EXPECT_EQ(integer.AsInt(), 4);
}

TEST(ValueConversion, NarrowingKeepsTheLowBits) {
    EXPECT_EQ(CValueData::Int(300).AsChar(), 44);
    EXPECT_EQ(CValueData::Int(-1).AsByte(), 255);
    EXPECT_EQ(CValueData::Int(70000).AsShort(), 4464);
    EXPECT_EQ(CValueData::Dword(0x12345678).AsWord(), 0x5678);
    EXPECT_EQ(CValueData::Short(-200).AsChar(), 56);
}

TEST(ValueConversion, WideningExtendsBySignedness) {
    EXPECT_EQ(CValueData::Char(-1).AsShort(), -1);
    EXPECT_EQ(CValueData::Char(-1).AsWord(), 65535);
    EXPECT_EQ(CValueData::Byte(255).AsShort(), 255);
    EXPECT_EQ(CValueData::Char(-1).AsInt(), -1);
    EXPECT_EQ(CValueData::Short(-1).AsLong(), -1);
    EXPECT_EQ(CValueData::Byte(255).AsInt(), 255);
    EXPECT_EQ(CValueData::Word(65535).AsInt(), 65535);
    EXPECT_EQ(CValueData::Bool(true).AsInt(), 1);
    EXPECT_EQ(CValueData::Dword(4294967295u).AsInt(), -1);
    EXPECT_EQ(CValueData::Int(-1).AsDword(), 4294967295u);
    EXPECT_EQ(CValueData::Char(-2).AsDword(), 4294967294u);
}

TEST(ValueConversion, FloatingToIntegerTruncatesOrGivesTheIndefiniteValue) {
    EXPECT_EQ(CValueData::Double(300.9).AsChar(), 44);
    EXPECT_EQ(CValueData::Float(-2.5f).AsInt(), -2);
    EXPECT_EQ(CValueData::Double(2147483647.9).AsInt(), 2147483647);
    EXPECT_EQ(CValueData::Double(-2147483648.9).AsInt(), kIntMin);
    EXPECT_EQ(CValueData::Double(2147483648.0).AsInt(), kIntMin);
    EXPECT_EQ(CValueData::Double(-1e300).AsLong(), kIntMin);
    EXPECT_EQ(CValueData::Double(kNaN).AsInt(), kIntMin);
    EXPECT_EQ(CValueData::Double(std::numeric_limits<double>::infinity()).AsInt(), kIntMin);
    EXPECT_EQ(CValueData::Float(std::numeric_limits<float>::infinity()).AsInt(), kIntMin);
    // The indefinite value is narrowed like any other: its low bits are 0.
    EXPECT_EQ(CValueData::Double(1e10).AsChar(), 0);
    EXPECT_EQ(CValueData::Double(1e10).AsWord(), 0);
}

TEST(ValueConversion, FloatingToDwordWrapsInRangeAndIsIndefiniteOutside) {
    EXPECT_EQ(CValueData::Double(3e9).AsDword(), 3000000000u);
    EXPECT_EQ(CValueData::Double(4294967295.5).AsDword(), 4294967295u);
    EXPECT_EQ(CValueData::Double(-1.5).AsDword(), 4294967295u);
    EXPECT_EQ(CValueData::Double(-2147483648.0).AsDword(), 0x80000000u);
    EXPECT_EQ(CValueData::Double(4294967296.0).AsDword(), 0x80000000u);
    EXPECT_EQ(CValueData::Double(-3e9).AsDword(), 0x80000000u);
    EXPECT_EQ(CValueData::Double(kNaN).AsDword(), 0x80000000u);
    EXPECT_EQ(CValueData::Float(-std::numeric_limits<float>::infinity()).AsDword(), 0x80000000u);
}

TEST(ValueConversion, FractionsConvertThroughTheDoubleQuotient) {
    const CValueData sevenHalves = CValueData::Fraction(CFraction(7, 2));
    EXPECT_EQ(sevenHalves.AsInt(), 3);
    EXPECT_EQ(CValueData::Fraction(CFraction(-7, 2)).AsInt(), -3);
    EXPECT_EQ(CValueData::Fraction(CFraction(-7, 2)).AsDword(), 4294967293u);
    EXPECT_EQ(sevenHalves.AsDouble(), 3.5);
    EXPECT_EQ(CValueData::Fraction(CFraction(1, 3)).AsFloat(), static_cast<float>(1.0 / 3.0));
    // A zero denominator has no integer reading.
    EXPECT_EQ(CValueData::Fraction(CFraction::Raw(1, 0)).AsInt(), kIntMin);
    EXPECT_EQ(CValueData::Fraction(CFraction::Raw(0, 0)).AsShort(), 0);
}

TEST(ValueConversion, ToFloatRoundsToSinglePrecision) {
    EXPECT_EQ(CValueData::Int(16777217).AsFloat(), 16777216.0f);
    EXPECT_EQ(CValueData::Dword(4294967295u).AsFloat(), 4294967296.0f);
    EXPECT_EQ(CValueData::Double(0.1).AsFloat(), 0.1f);
    EXPECT_EQ(CValueData::Double(1e300).AsFloat(), std::numeric_limits<float>::infinity());
    EXPECT_EQ(CValueData::Double(-1e300).AsFloat(), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(CValueData::Double(3.4028235e38).AsFloat(), std::numeric_limits<float>::max());
    EXPECT_TRUE(std::isnan(CValueData::Double(kNaN).AsFloat()));
}

TEST(ValueConversion, ToDoubleIsExact) {
    EXPECT_EQ(CValueData::Dword(4294967295u).AsDouble(), 4294967295.0);
    EXPECT_EQ(CValueData::Int(-5).AsDouble(), -5.0);
    EXPECT_EQ(CValueData::Float(0.1f).AsDouble(), static_cast<double>(0.1f));
    EXPECT_EQ(CValueData::Bool(true).AsDouble(), 1.0);
}

TEST(ValueConversion, ToBool) {
    EXPECT_FALSE(CValueData::Fraction(CFraction::Raw(0, 5)).AsBool());
    EXPECT_TRUE(CValueData::Fraction(CFraction(1, 3)).AsBool());
    EXPECT_TRUE(CValueData::Int(256).AsBool());   // the value, not its low byte
    EXPECT_FALSE(CValueData::Double(-0.0).AsBool());
    EXPECT_TRUE(CValueData::Double(kNaN).AsBool());
    EXPECT_TRUE(CValueData::Float(0.5f).AsBool());
    EXPECT_FALSE(CValueData::Bool(false).AsBool());
}

TEST(ValueConversion, ToFraction) {
    EXPECT_EQ(CValueData::Int(6).AsFraction(), CFraction::Raw(6, 1));
    EXPECT_EQ(CValueData::Char(-3).AsFraction(), CFraction::Raw(-3, 1));
    EXPECT_EQ(CValueData::Dword(4294967295u).AsFraction(), CFraction::Raw(-1, 1));
    EXPECT_EQ(CValueData::Bool(true).AsFraction(), CFraction::Raw(1, 1));
    EXPECT_EQ(CValueData::Double(0.75).AsFraction(), CFraction::Raw(3, 4));
    EXPECT_EQ(CValueData::Float(0.5f).AsFraction(), CFraction::Raw(1, 2));
    EXPECT_TRUE(RaisesAt(1990, [] { CValueData::Double(kNaN).AsFraction(); }));
}

TEST(ValueConversion, ToStringNeedsAString) {
    EXPECT_EQ(CValueData::String("ab").AsString().View(), "ab");
    EXPECT_TRUE(RaisesAt(2002, [] { CValueData::Int(1).AsString(); }));
    EXPECT_TRUE(RaisesAt(2002, [] { CValueData::Fraction(CFraction(1, 2)).AsString(); }));
    EXPECT_TRUE(RaisesAt(2002, [] { CValueData().AsString(); }));
}

TEST(ValueConversion, EmptyAndStringValuesRaiseWithTheConversionSite) {
    const std::vector<std::pair<int, std::function<void(const CValueData&)>>> conversions{
        {1784, [](const CValueData& v) { v.AsChar(); }},     {1804, [](const CValueData& v) { v.AsByte(); }},
        {1824, [](const CValueData& v) { v.AsShort(); }},    {1844, [](const CValueData& v) { v.AsWord(); }},
        {1864, [](const CValueData& v) { v.AsInt(); }},      {1884, [](const CValueData& v) { v.AsLong(); }},
        {1904, [](const CValueData& v) { v.AsDword(); }},    {1924, [](const CValueData& v) { v.AsFloat(); }},
        {1944, [](const CValueData& v) { v.AsDouble(); }},   {1964, [](const CValueData& v) { v.AsBool(); }},
        {1990, [](const CValueData& v) { v.AsFraction(); }},
    };
    for (const CValueData& value : {CValueData(), CValueData::String("1")}) {
        for (const auto& [site, convert] : conversions) {
            EXPECT_TRUE(RaisesAt(site, [&] { convert(value); })) << "type " << value.Type();
        }
    }
}

TEST(ValueConversion, ConvertToUsesTheConversionOfTheTarget) {
    EXPECT_EQ(CValueData::Int(300).ConvertTo(VTYPE_CHAR).AsChar(), 44);
    EXPECT_EQ(CValueData::Int(1).ConvertTo(VTYPE_LONG).Type(), VTYPE_LONG);
    EXPECT_TRUE(CValueData::Int(1).ConvertTo(VTYPE_NONE).IsEmpty());
    EXPECT_TRUE(RaisesAt(1884, [] { CValueData::String("a").ConvertTo(VTYPE_LONG); }));
}

TEST(ValueRaw, CopiesThePayloadInItsOwnWidth) {
    unsigned char raw[8];
    std::memset(raw, 0xaa, sizeof raw);
    ASSERT_TRUE(CValueData::Char(-1).GetRaw(raw));
    EXPECT_EQ(raw[0], 0xff);
    EXPECT_EQ(raw[1], 0xaa);

    std::memset(raw, 0xaa, sizeof raw);
    ASSERT_TRUE(CValueData::Word(0x1234).GetRaw(raw));
    uint16_t word = 0;
    std::memcpy(&word, raw, 2);
    EXPECT_EQ(word, 0x1234);
    EXPECT_EQ(raw[2], 0xaa);

    ASSERT_TRUE(CValueData::Float(1.5f).GetRaw(raw));
    float single = 0;
    std::memcpy(&single, raw, 4);
    EXPECT_EQ(single, 1.5f);

    ASSERT_TRUE(CValueData::Double(-2.25).GetRaw(raw));
    double wide = 0;
    std::memcpy(&wide, raw, 8);
    EXPECT_EQ(wide, -2.25);

    const CValueData text = CValueData::String("abc");
    ASSERT_TRUE(text.GetRaw(raw));
    const char* address = nullptr;
    std::memcpy(&address, raw, sizeof address);
    EXPECT_EQ(address, text.StringRef().Text());
}

TEST(ValueRaw, RefusesEmptyValuesAndFractions) {
    unsigned char raw[8];
    std::memset(raw, 0xaa, sizeof raw);
    EXPECT_FALSE(CValueData().GetRaw(raw));
    EXPECT_FALSE(CValueData::Fraction(CFraction(1, 2)).GetRaw(raw));
    EXPECT_EQ(raw[0], 0xaa);
}
