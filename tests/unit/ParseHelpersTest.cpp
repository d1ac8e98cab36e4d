#include "engine/ParseHelpers.h"

#include <gtest/gtest.h>

#include "engine/Diagnostics.h"

TEST(ParseHelpers, ReadIdentifierTakesLettersDigitsAndUnderscores) {
    CExpSource source;
    EXPECT_EQ(ReadIdentifier(source, "_x1+"), "_x1");
    EXPECT_EQ(ReadIdentifier(source, "1x"), "");
    EXPECT_EQ(ReadIdentifier(source, "\xe3\x81\x82"), "");   // a multi-byte character
    source.position = 3;
    EXPECT_EQ(ReadIdentifier(source, "ab"), "");              // past the end
}

TEST(ParseHelpers, TypeWordsAndNames) {
    EXPECT_EQ(TypeCodeOf("long"), 5);
    EXPECT_EQ(TypeCodeOf("int"), 5);
    EXPECT_EQ(TypeCodeOf("llong"), 0);
    EXPECT_EQ(TypeCodeOf("Int"), 0);
    EXPECT_EQ(TypeNameOf(5), "int");
    EXPECT_EQ(TypeNameOf(6), "long");
    EXPECT_EQ(TypeNameOf(11), "");
    EXPECT_EQ(TypeNameOf(-1), "");
    EXPECT_EQ(TypeNameOf(13), "");
}

TEST(ParseHelpers, ReservedWordsAreCaseSensitive) {
    EXPECT_TRUE(IsReserved("if"));
    EXPECT_TRUE(IsReserved("qword"));
    EXPECT_FALSE(IsReserved("If"));
    EXPECT_FALSE(IsReserved("void"));
}

TEST(Diagnostics, KnownAndUnknownPairs) {
    EXPECT_EQ(FormatDiagnostic({3, 1, 1}), "pos:3  構文エラー");
    EXPECT_EQ(FormatDiagnostic({7, 11, 5}), "pos:7  未定義のメッセージ(11.5)");
    EXPECT_EQ(FormatDiagnostic({0, 0, 0}), "pos:0  未定義のメッセージ(0.0)");
    EXPECT_EQ(FormatDiagnostic({2, 21, 103}), "pos:2  *実体の無い変数が参照されました");
}
