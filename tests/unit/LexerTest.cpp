// The lexer: where tokens begin and end, what a literal's fault is and where
// it points, and how blanks and comments fall between tokens. Transcripts
// see the positions only through diagnostics; these cases pin them down.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Diagnostics.h"
#include "engine/lexer/CLexer.h"
#include "engine/lexer/Keywords.h"
#include "engine/lexer/OperatorTable.h"

namespace {

// The tokens of a line as «kind:text» pieces, faulty ones marked with "!".
std::vector<std::string> Tokens(const std::string& line) {
    static const char* const kNames[] = {"end",  "name", "num", "frac", "char", "str", "op",
                                         "(",    ")",    "[",   "]",    "{",    "}",   "other"};
    CLexer lexer;
    lexer.Reset(line);
    std::vector<std::string> pieces;
    for (size_t i = 0;; ++i) {
        const Token token = lexer.At(i);
        if (token.kind == TokenKind::End) break;
        pieces.push_back(std::string(kNames[static_cast<int>(token.kind)]) + (token.faulty ? "!" : "") + ":" +
                         std::string(lexer.TextOf(token)));
    }
    return pieces;
}

using Pieces = std::vector<std::string>;

}  // namespace

TEST(Lexer, NamesNumbersAndOperators) {
    EXPECT_EQ(Tokens("_x1+2"), (Pieces{"name:_x1", "op:+", "num:2"}));
    EXPECT_EQ(Tokens("1x"), (Pieces{"num:1", "name:x"}));
    EXPECT_EQ(Tokens("truex true"), (Pieces{"name:truex", "name:true"}));
    EXPECT_EQ(Tokens("a<<=b"), (Pieces{"name:a", "op:<<", "op:=", "name:b"}));
    EXPECT_EQ(Tokens("a&&&b"), (Pieces{"name:a", "op:&&", "op:&", "name:b"}));
    EXPECT_EQ(Tokens("\xe3\x81\x82;$"), (Pieces{"other:\xe3", "other:\x81", "other:\x82", "other:;", "other:$"}));
}

TEST(Lexer, NumericLiteralsAndTheirFaults) {
    EXPECT_EQ(Tokens("1$2 3$1$4 1$"), (Pieces{"frac:1$2", "frac:3$1$4", "frac!:1$"}));
    EXPECT_EQ(Tokens("0x 0xfg"), (Pieces{"num!:0x", "num:0xf", "name:g"}));
    EXPECT_EQ(Tokens("1.e5 1e+ 2"), (Pieces{"num:1.e5", "num!:1e+", "num:2"}));
    // Three dots are three malformed numbers, unless the last begins one.
    EXPECT_EQ(Tokens("..."), (Pieces{"num!:.", "num!:.", "num!:."}));
    EXPECT_EQ(Tokens("...5"), (Pieces{"num!:.", "num!:.", "num:.5"}));
}

TEST(Lexer, TextLiteralFaultsPointWhereTheyAre) {
    CLexer lexer;
    lexer.Reset("\"a\\qb\\z");
    const Token token = lexer.At(0);
    ASSERT_TRUE(token.faulty);
    std::vector<std::string> faults;
    for (const LexFault& fault : lexer.FaultsOf(token)) faults.push_back(FormatDiagnostic({fault.position, fault.id}));
    EXPECT_EQ(faults, (Pieces{"pos:3  エスケープシーケンスが正しくありません",
                              "pos:6  エスケープシーケンスが正しくありません", "pos:7  対応する引用符がありません"}));
    EXPECT_EQ(Tokens("'ab' '' 'c"), (Pieces{"char!:'ab'", "char!:''", "char!:'c"}));
}

TEST(Lexer, BlanksAndCommentsLieBetweenTokens) {
    CLexer lexer;
    lexer.Reset(" 1 /* a */ + // b\r\n2 /* open");
    EXPECT_EQ(lexer.At(0).start, 1);
    EXPECT_EQ(lexer.At(1).start, 11);
    EXPECT_EQ(lexer.At(2).start, 19);
    const Token end = lexer.At(3);
    EXPECT_EQ(end.kind, TokenKind::End);
    EXPECT_EQ(end.start, 28);
    EXPECT_EQ(end.payload, 21);   // the unclosed comment, reported when reached
    EXPECT_EQ(lexer.At(99).kind, TokenKind::End);
    // A line comment ends only at "\r\n".
    EXPECT_EQ(Tokens("1 // a\n2"), (Pieces{"num:1"}));
}

TEST(Lexer, LexingGoesOnInsideAToken) {
    CLexer lexer;
    lexer.Reset("a == 1");
    EXPECT_EQ(OperatorRow(lexer.At(1).row).code, OP_EQ);
    lexer.RelexFrom(1, 3);
    EXPECT_EQ(OperatorRow(lexer.At(1).row).code, OP_ASSIGN);
    EXPECT_EQ(lexer.At(1).start, 3);
    EXPECT_EQ(lexer.TextOf(lexer.At(2)), "1");
}

TEST(Lexer, LongLinesAreLexedOnDemand) {
    std::string line;
    for (int i = 0; i < 1000; ++i) line += "x" + std::to_string(i) + " + ";
    CLexer lexer;
    lexer.Reset(line);
    EXPECT_EQ(lexer.TextOf(lexer.At(1998)), "x999");
    EXPECT_EQ(lexer.TextOf(lexer.At(0)), "x0");
}

// The names the lines ahead will look up are guessed without lexing them:
// numbers and quoted texts hold none, and no more are given than there is
// room for.
TEST(Lexer, NamesInATextAreGuessedWithoutLexingIt) {
    std::array<std::string_view, 4> room;
    const auto names = [&](std::string_view text) {
        return Pieces(room.begin(), room.begin() + static_cast<std::ptrdiff_t>(CLexer::NamesIn(text, room)));
    };
    EXPECT_EQ(names("d12 * 2 - _x"), (Pieces{"d12", "_x"}));
    EXPECT_EQ(names("1e5 + 0x1f + 1.5e-3 + 3$4 + .5f + a"), (Pieces{"a"}));
    EXPECT_EQ(names("\"b c\" + 'd' + e"), (Pieces{"e"}));
    EXPECT_EQ(names("f(\"unclosed g"), (Pieces{"f"}));
    EXPECT_EQ(names("a b c d e f"), (Pieces{"a", "b", "c", "d"}));
    EXPECT_EQ(names(std::string_view("\xe3\x81x\0y", 5)), (Pieces{"x", "y"}));
    EXPECT_EQ(names(""), Pieces{});
}

TEST(Keywords, TypeWordsAndNames) {
    EXPECT_EQ(TypeCodeOf("long"), 5);
    EXPECT_EQ(TypeCodeOf("int"), 5);
    EXPECT_EQ(TypeCodeOf("llong"), 0);
    EXPECT_EQ(TypeCodeOf("Int"), 0);
    EXPECT_EQ(TypeNameOf(5), "int");
    EXPECT_EQ(TypeNameOf(6), "long");
    EXPECT_EQ(TypeNameOf(11), "");
    EXPECT_EQ(TypeNameOf(-1), "");
    EXPECT_EQ(TypeNameOf(13), "");
    EXPECT_TRUE(IsReserved("if"));
    EXPECT_TRUE(IsReserved("qword"));
    EXPECT_FALSE(IsReserved("If"));
    EXPECT_FALSE(IsReserved("void"));
}

TEST(Diagnostics, EveryNameHasItsPair) {
    EXPECT_EQ(FormatDiagnostic({3, Diag::SyntaxError}), "pos:3  構文エラー");
    EXPECT_EQ(FormatDiagnostic({2, Diag::VariableNoEntity}), "pos:2  *実体の無い変数が参照されました");
    EXPECT_EQ(FormatDiagnostic({6, Diag::ArraySizeNotConstant}), "pos:6  未定義のメッセージ(17.11)");
    EXPECT_EQ(DiagMajor(Diag::BadFraction), 5);
    EXPECT_EQ(DiagMinor(Diag::ArrayParameter), 99);
    EXPECT_EQ(DiagMinor(Diag::UserFunctionCall), 199);
}
