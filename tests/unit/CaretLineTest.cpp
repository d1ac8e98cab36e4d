#include "app/CaretLine.h"

#include <gtest/gtest.h>

TEST(CaretLine, MarksEveryPositionAfterThePrompt) {
    EXPECT_EQ(CaretLine("1 / 0", 2, {2}), "    ^");
    EXPECT_EQ(CaretLine("a[0], b[0]", 0, {8, 2}), "  ^     ^");
    EXPECT_EQ(CaretLine("", 2, {}), "");
}

TEST(CaretLine, WideCharactersTakeTwoColumnsAndCombiningMarksNone) {
    // "日本" is six bytes in two columns each; "é" written e + U+0301 is one.
    EXPECT_EQ(CaretLine("\"日本\"+x", 0, {8, 9}), "      ^^");
    EXPECT_EQ(CaretLine("e\xcc\x81+x", 0, {4}), "  ^");
}

TEST(CaretLine, TabsReachTheNextStopAndControlsShowAsTwo) {
    EXPECT_EQ(CaretLine("\tx", 2, {1}), "        ^");
    EXPECT_EQ(CaretLine("\x01x", 0, {1}), "  ^");
}

TEST(CaretLine, StrayBytesAndPositionsPastTheEndCountOneEach) {
    EXPECT_EQ(CaretLine("\xff\xe6x", 0, {2}), "  ^");
    EXPECT_EQ(CaretLine("ab", 2, {4}), "      ^");
}
