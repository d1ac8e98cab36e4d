// Floating literals are read without strtod where that is exact; whatever the
// route, the value must be the one strtod gives, bit for bit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "engine/lexer/NumberLiteral.h"

namespace {

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

double ReadLiteral(const std::string& text) {
    CValueData value;
    bool malformed = false;
    EXPECT_EQ(ReadNumber(text, 0, value, malformed), text.size()) << text;
    EXPECT_FALSE(malformed) << text;
    return value.AsDouble();
}

}  // namespace

TEST(NumberLiteral, FloatingLiteralsHaveStrtodsValue) {
    for (const char* text : {"0.0", "0.", ".0", "1.5", "62.375", "0.1", "0.000123", "123456789012345.6",
                             "1234567890123456.7", "9007199254740993.0", "0.0000000000000000000001",
                             "0.00000000000000000000001", "1e400", "1e-400", "4.9e-324", "2.5e-3", "17e1",
                             "000123.4500", "999999999999999.9", "1.7976931348623157e308"}) {
        EXPECT_TRUE(SameBits(ReadLiteral(text), std::strtod(text, nullptr))) << text;
    }
}

TEST(NumberLiteral, RandomFloatingLiteralsHaveStrtodsValue) {
    std::mt19937_64 random(20261207);
    auto digits = [&](int count) {
        std::string text;
        for (int i = 0; i < count; ++i) text += static_cast<char>('0' + random() % 10);
        return text;
    };
    for (int i = 0; i < 200000; ++i) {
        std::string text = digits(1 + static_cast<int>(random() % 18)) + "." + digits(static_cast<int>(random() % 25));
        if (random() % 4 == 0) text += "e" + std::to_string(static_cast<int>(random() % 80) - 40);
        ASSERT_TRUE(SameBits(ReadLiteral(text), std::strtod(text.c_str(), nullptr))) << text;
    }
}

// Literals that begin with "0" take every form; a lone zero is an int.
TEST(NumberLiteral, LiteralsBeginningWithZero) {
    struct Case {
        const char* text;
        TypeCode type;
        const char* value;
        size_t end;
    };
    const Case cases[] = {
        {"0", VTYPE_INT, "0", 1},        {"0)", VTYPE_INT, "0", 1},      {"0 + 1", VTYPE_INT, "0", 1},
        {"0x1F", VTYPE_DWORD, "31", 4},  {"0B101", VTYPE_DWORD, "5", 5}, {"0.5", VTYPE_DOUBLE, "0.5", 3},
        {"0e1", VTYPE_DOUBLE, "0", 3},   {"00", VTYPE_DWORD, "0", 2},    {"017", VTYPE_DWORD, "15", 3},
        {"08", VTYPE_INT, "8", 2},       {"0$1", VTYPE_INT, "0", 1},     {"0a", VTYPE_INT, "0", 1},
    };
    for (const Case& c : cases) {
        CValueData value;
        bool malformed = false;
        EXPECT_EQ(ReadNumber(c.text, 0, value, malformed), c.end) << c.text;
        EXPECT_FALSE(malformed) << c.text;
        EXPECT_EQ(value.Type(), c.type) << c.text;
        EXPECT_EQ(value.FormatDec(), c.value) << c.text;
    }
}
