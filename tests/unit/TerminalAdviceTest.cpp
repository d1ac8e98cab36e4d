#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CLineTokens.h"
#include "app/EnglishDiagnostic.h"
#include "app/HabitHints.h"
#include "app/LiteralNotes.h"
#include "engine/manager/CExpManager.h"

namespace {

class TerminalAdvice : public ::testing::Test {
protected:
    std::vector<std::string> Notes(const std::string& line) {
        line_ = line;
        tokens_.Reset(line_);
        return WideLiteralNotes(tokens_);
    }

    // The hints for a line, which must fail.
    std::vector<std::string> Hints(const std::string& line) {
        line_ = line;
        const bool parsed = manager_.Parse(line_);
        CValueData result;
        EXPECT_FALSE(parsed && manager_.Execute(result)) << line;
        tokens_.Reset(line_);
        return HabitHints(tokens_, parsed ? manager_.ExecDiagnostics() : manager_.ParseDiagnostics(), manager_);
    }

    std::string English(const std::string& line) {
        line_ = line;
        EXPECT_FALSE(manager_.Parse(line_));
        tokens_.Reset(line_);
        return EnglishMeaning(manager_.ParseDiagnostics()[0], tokens_);
    }

    CExpManager manager_;
    CLineTokens tokens_;
    std::string line_;
};

}  // namespace

TEST_F(TerminalAdvice, OnlyLiteralsBeyond32BitsGetNotes) {
    EXPECT_TRUE(Notes("4294967295 + 0xFFFFFFFF + 037777777777 + 1e30 + 1$3 + \"99999999999\"").empty());
    ASSERT_EQ(Notes("0b111111111111111111111111111111111").size(), 1u);
    EXPECT_NE(Notes("0b111111111111111111111111111111111")[0].find("write 8589934591.0 "), std::string::npos);
    EXPECT_NE(Notes("040000000000")[0].find("write 4294967296.0 "), std::string::npos);
    // Past a double's range there is no floating literal to suggest.
    EXPECT_NE(Notes("0x" + std::string(300, 'f'))[0].find("too large even for a double"), std::string::npos);
    // A literal too long to show is cut short, and so is the advice.
    const std::vector<std::string> longOne = Notes(std::string(60, '9'));
    EXPECT_NE(longOne[0].find("9999...") , std::string::npos);
    EXPECT_NE(longOne[0].find("write it with \".0\" at its end"), std::string::npos);
}

TEST_F(TerminalAdvice, ALineOfManyWideLiteralsGetsAFewNotesAndTheirCount) {
    std::string line = "12345678901";
    for (int i = 0; i < 9; ++i) line += " + 12345678901";
    const std::vector<std::string> notes = Notes(line);
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_EQ(notes[3], "note: and 7 more literals that do not fit in 32 bits");
}

TEST_F(TerminalAdvice, TheEnglishTextNamesWhatTheDiagnosticPointsAt) {
    EXPECT_EQ(English("1 + nothing_here"), "undefined name \"nothing_here\"");
    manager_.Parse("int taken = 1");
    EXPECT_EQ(English("int taken = 2"), "the name \"taken\" is already in use");
    EXPECT_EQ(English("int if = 2"), "the word \"if\" is reserved and cannot be a name");
    // A name too long to show whole is cut short.
    EXPECT_EQ(English(std::string(50, 'x')), "undefined name \"" + std::string(40, 'x') + "...\"");
}

TEST_F(TerminalAdvice, HintsComeOnlyFromTheHabitTheLineShows) {
    manager_.Parse("int a = 1");
    // Operators that merely begin like a compound assignment.
    EXPECT_TRUE(Hints("a <= 2 2").empty());
    EXPECT_TRUE(Hints("a == 2 2").empty());
    EXPECT_TRUE(Hints("a != 2 2").empty());
    // A parameter list is no cast, a definition no call; "* *" apart is no "**".
    EXPECT_TRUE(Hints("int f(int) 3").empty());
    EXPECT_TRUE(Hints("2 * *3").empty());
    // ";" and the rest inside a string are text, not habits.
    EXPECT_TRUE(Hints("\"a += 1; sizeof(int)\" + 1").empty());
    EXPECT_EQ(Hints("a *= 2 + 1"), std::vector<std::string>{"numora has no compound assignment \"*=\": write a = a * (2 + 1)"});
    EXPECT_EQ(Hints("a = 1; a += 1").size(), 2u);
}
