#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "value/CValueData.h"

namespace {

// The text of a value in radix 10, 16, 8 and 2, in that order.
struct Forms {
    std::string dec, hex, oct, bin;
};

Forms AllForms(const CValueData& value) {
    return {value.FormatDec(), value.FormatHex(), value.FormatOct(), value.FormatBin()};
}

void ExpectForms(const CValueData& value, const Forms& expected) {
    const Forms actual = AllForms(value);
    EXPECT_EQ(actual.dec, expected.dec);
    EXPECT_EQ(actual.hex, expected.hex);
    EXPECT_EQ(actual.oct, expected.oct);
    EXPECT_EQ(actual.bin, expected.bin);
}

void ExpectSameInEveryRadix(const CValueData& value, const std::string& expected) {
    ExpectForms(value, {expected, expected, expected, expected});
}

}  // namespace

TEST(ValueFormat, EightBitTypes) {
    ExpectForms(CValueData::Byte(255), {"255", "0xff", "0377", "0b11111111"});
    ExpectForms(CValueData::Char(-1), {"-1", "0xff", "0377", "0b11111111"});
    ExpectForms(CValueData::Char(5), {"5", "0x05", "0005", "0b00000101"});
    ExpectForms(CValueData::Byte(0), {"0", "0x00", "0000", "0b00000000"});
}

TEST(ValueFormat, SixteenBitTypes) {
    ExpectForms(CValueData::Short(-2), {"-2", "0xfffe", "0177776", "0b1111111111111110"});
    ExpectForms(CValueData::Word(5), {"5", "0x0005", "0000005", "0b0000000000000101"});
    ExpectForms(CValueData::Word(65535), {"65535", "0xffff", "0177777", "0b1111111111111111"});
}

TEST(ValueFormat, ThirtyTwoBitTypes) {
    ExpectForms(CValueData::Int(1), {"1", "0x00000001", "000000000001", "0b" + std::string(31, '0') + "1"});
    ExpectForms(CValueData::Long(-1), {"-1", "0xffffffff", "037777777777", "0b" + std::string(32, '1')});
    ExpectForms(CValueData::Int(std::numeric_limits<int32_t>::min()),
                {"-2147483648", "0x80000000", "020000000000", "0b1" + std::string(31, '0')});
    ExpectForms(CValueData::Dword(4294967295u), {"4294967295", "0xffffffff", "037777777777", "0b" + std::string(32, '1')});
    EXPECT_EQ(CValueData::Dword(0xABCDEF01u).FormatHex(), "0xabcdef01");
}

TEST(ValueFormat, FloatingValuesUseGeneralFormInEveryRadix) {
    ExpectSameInEveryRadix(CValueData::Double(0.1), "0.1");
    ExpectSameInEveryRadix(CValueData::Double(1e20), "1e+20");
    ExpectSameInEveryRadix(CValueData::Double(1234567.0), "1.23457e+06");
    ExpectSameInEveryRadix(CValueData::Double(0.0001), "0.0001");
    ExpectSameInEveryRadix(CValueData::Double(0.00001), "1e-05");
    ExpectSameInEveryRadix(CValueData::Double(-2.5), "-2.5");
    ExpectSameInEveryRadix(CValueData::Float(0.1f), "0.1");
    ExpectSameInEveryRadix(CValueData::Double(-std::numeric_limits<double>::max()), "-1.79769e+308");
    ExpectSameInEveryRadix(CValueData::Double(std::numeric_limits<double>::infinity()), "inf");
}

// The general form is written without printf; it must be the text "%g" gives,
// roundings at the sixth digit, negative zero and NaN included.
TEST(ValueFormat, FloatingTextIsWhatPercentGWrites) {
    const double values[] = {0.0, -0.0, 999999.5, 9999995.0, 0.000123456789, 123456.5, 1e-320,
                             5e-324, 2.5e-7, -1e16, std::numeric_limits<double>::quiet_NaN(),
                             -std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::infinity()};
    for (double value : values) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%g", value);
        EXPECT_EQ(CValueData::Double(value).FormatDec(), expected);
    }
}

// Most floating texts are worked out in double arithmetic, the rest by the
// exact conversion: across magnitudes, digit counts and values next to a
// rounding half, both must give the same characters.
TEST(ValueFormat, FloatingTextAgreesWithTheExactConversionEverywhere) {
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> exponentOf(-40.0, 40.0);
    std::uniform_int_distribution<int> digitsOf(1, CValueData::kMaxDigits);
    std::uniform_int_distribution<int64_t> figuresOf(1, 999'999'999);
    std::uniform_int_distribution<int> powerOf(-25, 25);
    const auto expectExact = [](double value, int digits) {
        char exact[64];
        const auto end = std::to_chars(exact, exact + sizeof exact, value, std::chars_format::general, digits).ptr;
        ASSERT_EQ(CValueData::Double(value).Format(10, digits), std::string(exact, end)) << value << " " << digits;
    };
    for (int i = 0; i < 200'000; ++i) {
        const int digits = digitsOf(random);
        const double sign = (i & 1) != 0 ? -1.0 : 1.0;
        expectExact(sign * std::pow(10.0, exponentOf(random)), digits);
        // A half at the last figure kept, as near as a double comes to it.
        const double half = (static_cast<double>(figuresOf(random) % 1'000'000) + 0.5) * std::pow(10.0, powerOf(random));
        expectExact(sign * half, digits);
        expectExact(sign * std::nextafter(half, 0.0), digits);
        expectExact(sign * std::nextafter(half, 1e300), digits);
    }
    // The decimal exponent changes at each power of ten.
    for (int power = -30; power <= 30; ++power) {
        const double exact = std::pow(10.0, power);
        for (double value : {std::nextafter(exact, 0.0), exact, std::nextafter(exact, 1e300)}) {
            for (int digits = 1; digits <= CValueData::kMaxDigits; ++digits) expectExact(value, digits);
        }
    }
    for (double value : {0.15, 2.675, 1.005, 999999.49999999, 9.9999995, 99999.95, 1e-5, 1e-4, 123456.0, 1e22, 1e23,
                         9.999999e-5, 0.5, 1.5, 2.5}) {
        for (int digits = 1; digits <= CValueData::kMaxDigits; ++digits) expectExact(value, digits);
    }
}

TEST(ValueFormat, BoolsFractionsAndTheEmptyValue) {
    ExpectSameInEveryRadix(CValueData::Bool(true), "true");
    ExpectSameInEveryRadix(CValueData::Bool(false), "false");
    ExpectSameInEveryRadix(CValueData::Fraction(CFraction(3, 4)), "3$4");
    ExpectSameInEveryRadix(CValueData::Fraction(CFraction::Raw(3, -2)), "3$-2");
    ExpectSameInEveryRadix(CValueData::Fraction(CFraction::Raw(2, 4)), "2$4");   // written as stored
    ExpectSameInEveryRadix(CValueData(), "");
}

// Bytes pass unchanged up to the first zero byte, where a C string ends.
TEST(ValueFormat, StringsAreQuotedAsCStrings) {
    ExpectSameInEveryRadix(CValueData::String("ab"), "\"ab\"");
    ExpectSameInEveryRadix(CValueData::String(""), "\"\"");
    const std::string raw("q\"\\\n\t\xe3\x81\x82", 8);
    ExpectSameInEveryRadix(CValueData::String(raw), "\"" + raw + "\"");
    ExpectSameInEveryRadix(CValueData::String(std::string_view("a\0b", 3)), "\"a\"");
}

TEST(ValueFormat, LongStringsAreWrittenWhole) {
    const std::string text(100000, 'x');
    const std::string shown = CValueData::String(text).FormatDec();
    EXPECT_EQ(shown.size(), text.size() + 2);
    EXPECT_EQ(shown, "\"" + text + "\"");
}
