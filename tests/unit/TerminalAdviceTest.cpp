#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CLineTokens.h"
#include "app/EnglishDiagnostic.h"
#include "app/HabitHints.h"
#include "engine/manager/CExpManager.h"

namespace {

class TerminalAdvice : public ::testing::Test {
protected:
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
