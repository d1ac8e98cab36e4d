#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CLineTokens.h"
#include "app/Notes.h"
#include "engine/manager/CExpManager.h"

namespace {

class Notes : public ::testing::Test {
protected:
    Notes() { manager_.KeepValueNotes(true); }

    // The notes of a line, which must run.
    std::vector<std::string> Of(const std::string& line) {
        line_ = line;
        EXPECT_TRUE(manager_.Parse(line_)) << line;
        CValueData result;
        EXPECT_TRUE(manager_.Execute(result)) << line;
        tokens_.Reset(line_);
        return LineNotes(tokens_, manager_);
    }

    std::string Only(const std::string& line) {
        const std::vector<std::string> notes = Of(line);
        EXPECT_EQ(notes.size(), 1u) << line;
        return notes.empty() ? std::string() : notes[0];
    }

    CExpManager manager_;
    CLineTokens tokens_;
    std::string line_;
};

using Lines = std::vector<std::string>;

}  // namespace

TEST_F(Notes, ADecimalLiteralPastIntIsTold) {
    EXPECT_EQ(Only("3000000000"),
              "note: 3000000000 does not fit in int, so it is read as -1294967296; write 3000000000.0 for its value "
              "as a double");
    EXPECT_EQ(Only("2147483648 / 2"),
              "note: 2147483648 does not fit in int, so it is read as -2147483648; write 2147483648.0 for its value "
              "as a double");
    EXPECT_EQ(Only("int x = 4294967295"),
              "note: 4294967295 does not fit in int, so it is read as -1; write 4294967295.0 for its value as a "
              "double");
    // Bit patterns, int's least value written as C writes it, and a dword
    // that keeps the literal's 32 bits lose nothing.
    EXPECT_EQ(Of("0xFFFFFFFF + 037777777777 + 0b11111111111111111111111111111111 + 2147483647"), Lines{});
    EXPECT_EQ(Of("-2147483648"), Lines{});
    EXPECT_EQ(Of("dword d = 3000000000, e = 1"), Lines{});
    EXPECT_EQ(Of("d = 4000000000"), Lines{});
}

TEST_F(Notes, ALiteralPast32BitsSaysWhatWasKeptAndHowToWriteIt) {
    EXPECT_EQ(Only("12345678901"),
              "note: 12345678901 does not fit in 32 bits, so only its low 32 bits are kept: -539222987; write "
              "12345678901.0 for its value as a double");
    EXPECT_NE(Only("0b111111111111111111111111111111111").find("kept: -1; write 8589934591.0 "), std::string::npos);
    EXPECT_NE(Only("040000000000").find("write 4294967296.0 "), std::string::npos);
    // Past a double's range there is no floating literal to suggest.
    EXPECT_NE(Only("0x" + std::string(300, 'f')).find("too large even for a double"), std::string::npos);
    // A literal too long to show is cut short, and so is the advice.
    const std::string longOne = Only(std::string(60, '9'));
    EXPECT_NE(longOne.find("9999..."), std::string::npos);
    EXPECT_NE(longOne.find("write it with \".0\" at its end"), std::string::npos);
}

TEST_F(Notes, AValueNarrowedWhereItIsStoredIsTold) {
    EXPECT_EQ(Only("int y = 1.5"), "note: y is an int, so it keeps 1 of 1.5; declare y as double to keep 1.5");
    EXPECT_EQ(Only("y = -2.75"), "note: y is an int, so it keeps -2 of -2.75; a double variable keeps -2.75");
    EXPECT_EQ(Only("char c = 300"), "note: 300 does not fit in c, a char, so it keeps 44; declare c as int to keep 300");
    EXPECT_EQ(Only("word w = -1"), "note: -1 does not fit in w, a word, so it keeps 65535; declare w as int to keep -1");
    EXPECT_EQ(Only("int x = 3e9"),
              "note: 3e+09 does not fit in x, an int, so it keeps -2147483648; declare x as double to keep 3e+09");
    EXPECT_EQ(Only("float f = 1e300"),
              "note: 1e+300 does not fit in f, a float, so it keeps inf; declare f as double to keep 1e+300");
    EXPECT_EQ(Only("int third = 1$3"), "note: third is an int, so it keeps 0 of 1$3; declare third as double to keep 1$3");
    // A name too long to read at a glance is cut short, as everywhere.
    EXPECT_EQ(Only("char " + std::string(50, 'n') + " = 300"),
              "note: 300 does not fit in " + std::string(40, 'n') + "..., a char, so it keeps 44; declare " +
                  std::string(40, 'n') + "... as int to keep 300");
    EXPECT_EQ(Only("int v[2][2] = {{1, 2}, {3.5, 4}}"),
              "note: v[1][0] is an int, so it keeps 3 of 3.5; an array of double keeps 3.5");
    EXPECT_EQ(Only("v[0][1] = 100000.25"),
              "note: v[0][1] is an int, so it keeps 100000 of 100000.25; an array of double keeps 100000.25");
    // The same bits read with the other signedness, rounding to float's
    // precision, a bool's truth, and a whole double lose nothing.
    EXPECT_EQ(Of("dword m = ~0, n = -1"), Lines{});
    EXPECT_EQ(Of("int back = m"), Lines{});
    EXPECT_EQ(Of("float g = 0.1, h = 16777217"), Lines{});
    EXPECT_EQ(Of("bool b = 5"), Lines{});
    EXPECT_EQ(Of("int whole = 2.0"), Lines{});
}

TEST_F(Notes, ASignedResultThatWrappedIsTold) {
    const std::string wrapped =
        "note: 2147483647 + 1 is 2147483648, which an int cannot hold, so it wrapped around to -2147483648; with a "
        "double operand it is exact: 2147483647.0 + 1";
    // Worked out by the literal pass, by the builder, and when the line runs.
    EXPECT_EQ(Only("2147483647 + 1"), wrapped);
    Of("int big = 2147483647");
    EXPECT_EQ(Only("big + 1"), wrapped);
    EXPECT_EQ(Only("big = big, big + 1"), wrapped);
    EXPECT_EQ(Only("big++"), wrapped);
    EXPECT_EQ(Only("-2147483647 - 2 * 1"),
              "note: (-2147483647) - 2 is -2147483649, which an int cannot hold, so it wrapped around to 2147483647; "
              "with a double operand it is exact: (-2147483647.0) - 2");
    EXPECT_EQ(Only("-(-2147483647 - 1)"),
              "note: -(-2147483648) is 2147483648, which an int cannot hold, so it stays -2147483648; with a double "
              "operand it is exact: -(-2147483648.0)");
    Of("char c = 100");
    EXPECT_EQ(Only("c + c"),
              "note: 100 + 100 is 200, which a char cannot hold, so it wrapped around to -56; in int variables it is "
              "exact");
    // Unsigned arithmetic wraps by definition, and a result that fits is exact.
    EXPECT_EQ(Of("~0 + 1, ~0 * ~0, 46340 * 46340, -46341 * 46340"), Lines{});
}

TEST_F(Notes, ALineToldAFewTimesSaysHowManyMore) {
    const Lines notes = Of("int a = 1.5, b = 2.5, c = 3.5, d = 3000000000, e = 2147483647 * 2");
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_EQ(notes[0], "note: a is an int, so it keeps 1 of 1.5; declare a as double to keep 1.5");
    EXPECT_EQ(notes[3], "note: and 2 more values changed without a diagnostic");
}

TEST_F(Notes, NothingIsRecordedForASessionThatWillNotShowIt) {
    manager_.KeepValueNotes(false);
    ASSERT_TRUE(manager_.Parse("int y = 1.5, z = 2147483647 + 1"));
    CValueData result;
    ASSERT_TRUE(manager_.Execute(result));
    EXPECT_TRUE(manager_.ValueNotes().All().empty());
}
