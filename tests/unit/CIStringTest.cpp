#include "base/CIString.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "base/CIError.h"

namespace {

template <typename Action>
int ThrownCode(Action action) {
    try {
        action();
    } catch (const CIError& error) {
        return error.Code();
    }
    return -1;
}

template <typename Action>
int64_t ThrownIndex(Action action) {
    try {
        action();
    } catch (const CIRangeError& error) {
        return error.Index();
    }
    return -1;
}

}  // namespace

TEST(CIArray, ElementIsCheckedAgainstCapacityAsUnsigned) {
    CIArray array(4);
    array.Element(3) = 'x';
    EXPECT_EQ(array.Element(3), 'x');
    EXPECT_EQ(ThrownCode([&] { array.Element(4); }), CIError::kArrayIndex);
    EXPECT_EQ(ThrownCode([&] { array.Element(-1); }), CIError::kArrayIndex);
    EXPECT_EQ(ThrownIndex([&] { array.Element(INT_MIN); }), INT_MIN);
    EXPECT_EQ(ThrownCode([&] { CIArray().Element(0); }), CIError::kArrayIndex);
}

TEST(CIArray, ResizeKeepsTheCommonPrefix) {
    CIArray array(3);
    array.Element(0) = 'a';
    array.Element(2) = 'c';
    array.Resize(8);
    EXPECT_EQ(array.Capacity(), 8);
    EXPECT_EQ(array.Element(0), 'a');
    EXPECT_EQ(array.Element(2), 'c');
    array.Resize(1);
    EXPECT_EQ(array.Capacity(), 1);
    EXPECT_EQ(array.Element(0), 'a');
}

TEST(CIArray, AssignAndEqualsCompareCapacityAndBytes) {
    CIArray a(2);
    a.Element(0) = 'p';
    CIArray b;
    b.Assign(a);
    EXPECT_TRUE(b.Equals(a));
    b.Element(1) = 'q';
    EXPECT_FALSE(b.Equals(a));
    EXPECT_FALSE(CIArray(3).Equals(CIArray(2)));
    a.Assign(a);
    EXPECT_EQ(a.Element(0), 'p');
}

TEST(CIArray, ImpossibleSizesAreMemoryErrors) {
    EXPECT_EQ(ThrownCode([] { CIArray array(-5); }), CIError::kMemory);
    CIArray array(2);
    EXPECT_EQ(ThrownCode([&] { array.Resize(-1); }), CIError::kMemory);
    EXPECT_EQ(array.Capacity(), 2);
}

TEST(CIString, EmptyStringHasCapacityOne) {
    const CIString empty;
    EXPECT_EQ(empty.Length(), 0);
    EXPECT_EQ(empty.Capacity(), 1);
    EXPECT_STREQ(empty.Text(), "");
    EXPECT_EQ(CIString(0).Capacity(), 1);
    EXPECT_EQ(CIString(-7).Capacity(), 1);
    EXPECT_EQ(CIString(16).Capacity(), 16);
}

TEST(CIString, ConstructorsSizeExactly) {
    const CIString abc("abc");
    EXPECT_EQ(abc.Capacity(), 4);
    EXPECT_EQ(abc.Length(), 3);
    CIString big(40);
    big.Assign("xy");
    const CIString copy(big);
    EXPECT_EQ(copy.Capacity(), 40);
    EXPECT_STREQ(copy.Text(), "xy");
    EXPECT_EQ(CIString(nullptr).Length(), 0);
    EXPECT_EQ(CIString("abc", -1).Length(), 0);
}

TEST(CIString, AppendingCharactersDoublesTheCapacity) {
    CIString text;
    std::vector<int> capacities{text.Capacity()};
    for (int i = 0; i < 100; ++i) {
        text.Append(static_cast<char>('a' + i % 26));
        if (text.Capacity() != capacities.back()) capacities.push_back(text.Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{1, 2, 4, 8, 16, 32, 64, 128}));
    EXPECT_EQ(text.Length(), 100);
    EXPECT_EQ(text.Text()[100], '\0');
}

TEST(CIString, AssignAndAppendGrowToExactlyTheNeededLength) {
    CIString text("abc");
    text.Append("defg");
    EXPECT_EQ(text.Capacity(), 8);
    EXPECT_STREQ(text.Text(), "abcdefg");
    text.Assign("z");
    EXPECT_EQ(text.Capacity(), 8);   // never shrinks
    text.Append(CIString("12345678"));
    EXPECT_EQ(text.Capacity(), 10);
    EXPECT_STREQ(text.Text(), "z12345678");
    EXPECT_STREQ((CIString("ab") + "cd" + CIString("ef")).Text(), "abcdef");
}

TEST(CIString, OperationsOnItsOwnTextAreSafe) {
    CIString text("abcdef");
    text.Append(text);
    EXPECT_STREQ(text.Text(), "abcdefabcdef");
    text.Append(text.Text() + 9);
    EXPECT_STREQ(text.Text(), "abcdefabcdefdef");
    text.Assign(text.Text() + 12);
    EXPECT_STREQ(text.Text(), "def");
    text = text;
    EXPECT_STREQ(text.Text(), "def");
}

TEST(CIString, EmbeddedZeroBytes) {
    const CIString text("a\0b", 3);
    EXPECT_EQ(text.Length(), 3);
    EXPECT_EQ(text.View(), std::string_view("a\0b", 3));
    EXPECT_TRUE(text.Equal("a"));                 // C-string comparison stops at the 0 byte
    EXPECT_EQ(text.Compare(CIString("a")), 0);
    EXPECT_EQ(text.Substring(1).View(), std::string_view("\0b", 2));
    EXPECT_EQ(text.Substring(0, 3).View(), "a");   // counted copy stops at the 0 byte

    CIString joined("x");
    joined.Append(text);
    EXPECT_EQ(joined.View(), std::string_view("xa\0b", 4));
    CIString assigned;
    assigned.Assign(joined);
    EXPECT_EQ(assigned.View(), std::string_view("xa\0b", 4));
    EXPECT_EQ(CIString(joined).View(), joined.View());
    assigned.Append('\0');
    EXPECT_EQ(assigned.Length(), 5);
}

TEST(CIString, SubstringNeverThrows) {
    const CIString abc("abc");
    EXPECT_STREQ(abc.Substring(2, 10).Text(), "c");
    EXPECT_STREQ(abc.Substring(5).Text(), "");
    EXPECT_STREQ(abc.Substring(-3, 2).Text(), "ab");
    EXPECT_STREQ(abc.Substring(-1).Text(), "");
    EXPECT_STREQ(abc.Substring(3).Text(), "");
    EXPECT_STREQ(abc.Substring(1, -4).Text(), "");
    EXPECT_STREQ(abc.Substring(INT_MIN, INT_MAX).Text(), "abc");
    EXPECT_STREQ(abc.Substring(INT_MAX, INT_MAX).Text(), "");
}

TEST(CIString, AtChecksAgainstTheLength) {
    const CIString abc("abc");
    EXPECT_EQ(*abc.At(2), 'c');
    EXPECT_EQ(*abc.At(2u), 'c');
    EXPECT_EQ(ThrownCode([&] { abc.At(3); }), CIError::kStringIndex);
    EXPECT_EQ(ThrownIndex([&] { abc.At(-1); }), -1);
    EXPECT_EQ(ThrownCode([&] { abc.At(UINT_MAX); }), CIError::kStringIndex);
    EXPECT_EQ(ThrownCode([] { CIString().At(0); }), CIError::kStringIndex);
    EXPECT_EQ(*abc.End(), '\0');
    EXPECT_EQ(abc.End() - abc.Text(), 3);
}

TEST(CIString, SpanAndFindAnswerForAnyStart) {
    const CIString text("  ab ab");
    EXPECT_EQ(text.Span(" ", 0), 2);
    EXPECT_EQ(text.Span("ab", 2), 4);
    EXPECT_EQ(text.Span(' ', 4), 5);
    EXPECT_EQ(text.Span('\0', 0), 0);
    EXPECT_EQ(text.Span(" ", 8), 0);
    EXPECT_EQ(text.Span(" ", -1), 0);
    EXPECT_EQ(text.Find("ab", 0), 2);
    EXPECT_EQ(text.Find("ab", 3), 5);
    EXPECT_EQ(text.Find("ab", 6), -1);
    EXPECT_EQ(text.Find("", 7), 7);
    EXPECT_EQ(text.Find("ab", -1), -1);
    EXPECT_EQ(text.Find("ab", INT_MAX), -1);
}

TEST(CIString, TrimRemovesOuterWhiteSpace) {
    CIString text("  a b  ");
    EXPECT_STREQ(text.Trim().Text(), "a b");
    EXPECT_EQ(text.Length(), 3);
    CIString blanks("   ");
    EXPECT_STREQ(blanks.Trim().Text(), "");
    CIString multiByte("\t\xe3\x81\x82\n");
    EXPECT_STREQ(multiByte.Trim().Text(), "\xe3\x81\x82");
}

TEST(CIString, LinesAndColumns) {
    const CIString text("ab\ncd");
    int line = -1;
    int column = -1;
    EXPECT_TRUE(text.LineAndColumn(line, column, 4));
    EXPECT_EQ(line, 1);
    EXPECT_EQ(column, 1);
    EXPECT_FALSE(text.LineAndColumn(line, column, 5));
    EXPECT_FALSE(text.LineAndColumn(line, column, INT_MAX));
    EXPECT_EQ(line, 1);
    EXPECT_EQ(column, 2);
    EXPECT_FALSE(text.LineAndColumn(line, column, -3));
    EXPECT_EQ(text.LineStart(0), 0);
    EXPECT_EQ(text.LineStart(1), 3);
    EXPECT_EQ(text.LineStart(2), -1);
    EXPECT_EQ(text.LineStart(-1), -1);
}

TEST(CIString, CaseConversionTouchesOnlyAscii) {
    CIString text("aZ\xe3\x81\x82q");
    text.ToUpper();
    EXPECT_STREQ(text.Text(), "AZ\xe3\x81\x82Q");
    text.ToLower();
    EXPECT_STREQ(text.Text(), "az\xe3\x81\x82q");
}

TEST(CIString, ComparisonsAreBytewiseOnUnsignedBytes) {
    const CIString abc("abc");
    EXPECT_EQ(abc.Compare(CIString("abd")), -1);
    EXPECT_EQ(abc.Compare("abb"), 1);
    EXPECT_EQ(abc.Compare("abc"), 0);
    EXPECT_EQ(abc.Compare("ab"), 1);
    EXPECT_TRUE(abc.Equal("abc"));
    EXPECT_TRUE(abc.NotEqual("abcd"));
    EXPECT_TRUE(abc == CIString("abc"));
    EXPECT_EQ(CIString("\x80").Compare("a"), 1);
    EXPECT_EQ(abc.ComparePrefix(1, 2, "bcx"), 0);
    EXPECT_EQ(abc.ComparePrefix(1, 3, "bcx"), -1);
    EXPECT_EQ(abc.ComparePrefix(0, 0, "zzz"), 0);
    EXPECT_EQ(abc.ComparePrefix(9, 2, ""), 0);
    EXPECT_EQ(abc.ComparePrefix(-9, 2, "a"), -1);
    EXPECT_EQ(abc.ComparePrefix(0, 2, CIString("ab\0x", 4)), 0);
}

TEST(CIString, StorageOperationsKeepTheTerminator) {
    CIString text("abcdef");
    text.Resize(3);
    EXPECT_EQ(text.Capacity(), 3);
    EXPECT_STREQ(text.Text(), "ab");
    EXPECT_EQ(text.Length(), 2);
    text.Resize(0);
    EXPECT_EQ(text.Capacity(), 1);
    EXPECT_EQ(text.Length(), 0);

    auto block = std::make_unique<char[]>(4);
    std::memcpy(block.get(), "wxyz", 4);   // no terminator
    text.Attach(std::move(block), 4);
    EXPECT_STREQ(text.Text(), "wxy");
    text.Attach(nullptr, 10);
    EXPECT_EQ(text.Capacity(), 1);
    EXPECT_STREQ(text.Text(), "");

    CIArray raw(2);
    raw.Element(0) = 'k';
    raw.Element(1) = 'm';
    static_cast<CIArray&>(text).Assign(raw);
    EXPECT_STREQ(text.Text(), "k");
    EXPECT_EQ(text.Length(), 1);
}

TEST(CIString, OverwrittenTerminatorDoesNotLeadPastTheBlock) {
    CIString text("ab");
    text.Element(2) = 'c';
    EXPECT_TRUE(text.Equal("abc"));
    EXPECT_EQ(text.Find("c", 0), 2);
}
