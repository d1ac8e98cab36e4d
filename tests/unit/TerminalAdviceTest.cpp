#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/CLineTokens.h"
#include "app/CReportWriter.h"
#include "app/CaretLine.h"
#include "app/EnglishDiagnostic.h"
#include "app/HabitHints.h"
#include "engine/manager/CExpManager.h"

namespace {

class TerminalAdvice : public ::testing::Test {
protected:
    // The hints for a line, which must fail.
    std::vector<Hint> HintsOf(const std::string& line) {
        line_ = line;
        const bool parsed = manager_.Parse(line_);
        CValueData result;
        EXPECT_FALSE(parsed && manager_.Execute(result)) << line;
        tokens_.Reset(line_);
        return HabitHints(tokens_, parsed ? manager_.ExecDiagnostics() : manager_.ParseDiagnostics(), manager_);
    }

    std::vector<std::string> Hints(const std::string& line) {
        std::vector<std::string> texts;
        for (const Hint& hint : HintsOf(line)) texts.push_back(hint.text);
        return texts;
    }

    // The one hint a line gets.
    std::string HintText(const std::string& line) {
        const std::vector<std::string> hints = Hints(line);
        EXPECT_EQ(hints.size(), 1u) << line;
        return hints.empty() ? std::string() : hints.front();
    }

    // A line that runs with no diagnostic.
    bool Runs(const std::string& line) {
        CValueData result;
        return manager_.Parse(line) && manager_.Execute(result) && manager_.ExecDiagnostics().empty();
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
    EXPECT_EQ(Hints("a *= 2 + 1"),
              std::vector<std::string>{"numora has no compound assignment \"*=\": write a = a * (2 + 1)"});
    EXPECT_EQ(Hints("a = 1; a += 1").size(), 2u);
}

namespace {

// A line that shows a habit, after the lines that set the scene, and the kind
// of the hint it gets, which proposes lines.
struct Proposal {
    const char* scene;
    const char* line;
    HintKind kind;
};

// One session: every name is its case's own.
const Proposal kProposals[] = {
    {"", "y = 1.5", HintKind::UndeclaredAssignment},
    {"", "r = sqrt(2)", HintKind::UndeclaredAssignment},
    {"", "z = \"abc\"", HintKind::UndeclaredAssignment},
    {"", "fr = 1$3", HintKind::UndeclaredFraction},
    {"", "cnt += 1", HintKind::CompoundToUndeclared},
    {"", "sum -= 0.5;", HintKind::CompoundToUndeclared},
    {"int a = 1", "a *= 2 + 1", HintKind::CompoundAssignment},
    {"int n7 = 7", "(double)n7 / 2", HintKind::Cast},
    {"int x = 2", "(x + 1)**2**2", HintKind::Power},
    {"", "**2", HintKind::PowerForm},
    {"int b = 1", "int b = 4", HintKind::SecondDeclaration},
    {"", "int twice(int n) { return n * 2; }", HintKind::StatementInDefinition},
    {"", "unsigned int u = 5", HintKind::Unsigned},
    {"", "signed char sc = 5", HintKind::Signed},
    {"", "long long q = 5", HintKind::LongLong},
    {"", "long int w = 3", HintKind::TwoWordType},
    {"", "const int k = 2;", HintKind::Const},
    {"", "static int t = 1", HintKind::Static},
    {"", "const char *p = \"abc\"", HintKind::CharPointer},
    {"", "int d1 = 1, int d2 = 2", HintKind::TwoTypeWords},
    {"", "int e1 = 1; int e2 = 2;", HintKind::SemicolonBetweenParts},
    {"", "float fl = 1.5f", HintKind::LiteralSuffix},
    {"", "char c = '\\n'", HintKind::CharEscape},
    {"int m[2][3]", "m", HintKind::ArrayWithoutSubscript},
    {"", "exit(3)", HintKind::EndSessionWithStatus},
};

}  // namespace

// Typed as proposed, in the session the hint was given in, each line runs
// with no diagnostic: the hint never adds a fault of its own.
TEST_F(TerminalAdvice, EveryLineAHintProposesRunsAsTyped) {
    std::vector<bool> proposed(static_cast<size_t>(HintKind::Count), false);
    for (const Proposal& proposal : kProposals) {
        if (*proposal.scene != '\0') {
            ASSERT_TRUE(Runs(proposal.scene)) << proposal.scene;
        }
        const std::vector<Hint> hints = HintsOf(proposal.line);
        const auto ofKind = [&](const Hint& h) { return h.kind == proposal.kind; };
        const auto hint = std::find_if(hints.begin(), hints.end(), ofKind);
        ASSERT_NE(hint, hints.end()) << proposal.line;
        ASSERT_FALSE(hint->lines.empty()) << proposal.line;
        proposed[static_cast<size_t>(hint->kind)] = true;
        for (const std::string& line : hint->lines) {
            EXPECT_NE(hint->text.find(line), std::string::npos) << hint->text;
            EXPECT_EQ(line.find(';'), std::string::npos) << line;
            // A console command is the front end's, not the language's.
            if (!line.starts_with("#")) {
                EXPECT_TRUE(Runs(line)) << proposal.line << " proposes " << line;
            }
        }
    }
    for (size_t kind = 0; kind < proposed.size(); ++kind) {
        EXPECT_TRUE(proposed[kind] || !HintProposesLines(static_cast<HintKind>(kind))) << "no case for kind " << kind;
    }
}

TEST_F(TerminalAdvice, TheDeclarationProposedHoldsTheValueItWasGiven) {
    EXPECT_EQ(HintText("y = 1.5"), "\"y\" is not declared: declare it with its type first, as in double y = 1.5");
    EXPECT_NE(HintText("r = sqrt(2)").find("as in double r = sqrt(2)"), std::string::npos);
    EXPECT_NE(HintText("z = \"abc\"").find("as in string z = \"abc\""), std::string::npos);
    EXPECT_NE(HintText("c = 'a'").find("as in char c = 'a'"), std::string::npos);
    EXPECT_NE(HintText("t = 1 < 2").find("as in bool t = 1 < 2"), std::string::npos);
    EXPECT_NE(HintText("n = 2147483647 + 1").find("as in int n = 2147483647 + 1"), std::string::npos);
    EXPECT_EQ(HintText("f = 1$3"), "\"f\" is not declared, and a variable cannot keep a fraction: a double keeps "
                                   "its nearest value, as in double f = 1$3");
    // The value ends where the line's next part begins.
    EXPECT_NE(HintText("v = 5, w2 = 6").find("as in int v = 5"), std::string::npos);
    // A value that does not read has no type to declare.
    EXPECT_EQ(HintText("u = nothing + 1"),
              "\"u\" is not declared: declare it first, with the type of the value it is to hold (int, double, "
              "string, ...)");
    EXPECT_EQ(Hints("x = 5;"),
              (std::vector<std::string>{"numora needs no \";\" at the end of a line: leave it out",
                                        "\"x\" is not declared: declare it with its type first, as in int x = 5"}));
}

TEST_F(TerminalAdvice, ACompoundAssignmentToAnUndeclaredNameDeclaresItFirst) {
    EXPECT_EQ(HintText("cnt += 1"), "\"cnt\" is not declared, and numora has no compound assignment \"+=\": declare "
                                    "it first, as in int cnt = 0, then write cnt = cnt + 1");
    EXPECT_NE(HintText("d -= 0.5").find("as in double d = 0, then write d = d - 0.5"), std::string::npos);
    EXPECT_NE(HintText("s += \"x\"").find("as in string s = \"\", then write s = s + \"x\""), std::string::npos);
    // Neither a value that does not read nor an operator the value does not
    // take gives a line to propose.
    EXPECT_EQ(HintText("e += nothing"), "\"e\" is not declared, and numora has no compound assignment \"+=\": "
                                        "declare it with its type first, then write the assignment out");
    EXPECT_EQ(HintText("t -= \"x\"").find("as in"), std::string::npos);
    // "%" reads with a double and refuses it when it runs.
    EXPECT_EQ(HintText("g %= 0.5").find("as in"), std::string::npos);
    // A variable keeps its type: an int is not proposed a double's value.
    manager_.Parse("int i = 1");
    EXPECT_EQ(HintText("i += 2"), "numora has no compound assignment \"+=\": write i = i + 2");
    manager_.Parse("double h = 1");
    EXPECT_EQ(HintText("h %= 2").find("write h ="), std::string::npos);
    EXPECT_EQ(HintText("i *= 2.5"), "numora has no compound assignment \"*=\": write the assignment out, "
                                    "\"a *= b\" as \"a = a * (b)\"");
}

TEST_F(TerminalAdvice, APowerChainIsOneHintWithNestedPowAndTheOperandsAsTyped) {
    manager_.Parse("int x = 1");
    EXPECT_EQ(Hints("2**3**2"), std::vector<std::string>{"numora has no \"**\" operator: write pow(2, pow(3, 2))"});
    EXPECT_EQ(HintText("(x + 1)**2"), "numora has no \"**\" operator: write pow(x + 1, 2)");
    EXPECT_EQ(HintText("sqrt(4)**-x"), "numora has no \"**\" operator: write pow(sqrt(4), -x)");
    EXPECT_EQ(HintText("1 + 2**10 * 3"), "numora has no \"**\" operator: write pow(2, 10)");
    // A habit is told once a line.
    EXPECT_EQ(Hints("x**2 + x**3"), std::vector<std::string>{"numora has no \"**\" operator: write pow(x, 2)"});
    // Without its operands no call can be written: the built-in, by example.
    EXPECT_EQ(HintText("**2"), "numora has no \"**\" operator: the built-in pow raises a number to a power, as "
                               "in pow(2, 10)");
}

TEST_F(TerminalAdvice, AStatementIsToldThatALineIsOneDeclarationDefinitionOrExpression) {
    for (const char* line : {"while (1) 2", "do 1", "break", "continue", "goto end", "return 0;",
                             "for (int i = 0; i < 10; i++) sum += i;"}) {
        const std::vector<std::string> hints = Hints(line);
        ASSERT_EQ(hints.size(), 1u) << line;
        EXPECT_TRUE(hints[0].starts_with("numora has no statements such as \"")) << hints[0];
        EXPECT_NE(hints[0].find("a line is one declaration, definition or expression"), std::string::npos);
    }
    for (const char* line : {"if (1) 2; else 3", "else 3", "switch (1) 2"}) {
        EXPECT_NE(HintText(line).find("\"?:\" chooses between values"), std::string::npos) << line;
    }
    EXPECT_EQ(HintText("int twice(int n) { return n * 2; }"),
              "a function definition is its head and the one expression that gives its value, with no braces or "
              "statements: int twice(int n) n * 2");
    // A body of more than one expression, or a head already taken, is not
    // written over.
    EXPECT_EQ(HintText("int f(int n) { int m = n; return m; }").find(":"), std::string::npos);
    manager_.Parse("int n = 1");
    EXPECT_EQ(HintText("int g(int n) { return n; }").find(": int"), std::string::npos);
    // A variable named like a statement is no statement.
    EXPECT_TRUE(Hints("int if = 2").empty());
}

TEST_F(TerminalAdvice, CsTypeWordsAndPointersGetNumorasOwnTypes) {
    EXPECT_NE(HintText("unsigned char uc = 200").find("write byte uc = 200"), std::string::npos);
    EXPECT_NE(HintText("unsigned short us = 2").find("\"unsigned short\"" ), std::string::npos);
    EXPECT_NE(HintText("unsigned short us = 2").find("write word us = 2"), std::string::npos);
    EXPECT_NE(HintText("unsigned x1 = 2").find("write dword x1 = 2"), std::string::npos);
    EXPECT_NE(HintText("short int si = 2").find("\"short int\" is short, so write short si = 2"), std::string::npos);
    EXPECT_NE(HintText("long double ld = 2").find("write double ld = 2"), std::string::npos);
    // Every habit of the line is named; the last proposes the line with all
    // of them mended.
    EXPECT_EQ(Hints("static const char *name = \"x\";"),
              (std::vector<std::string>{
                  "numora needs no \";\" at the end of a line: leave it out",
                  "numora has no \"static\": every name lasts for the whole session",
                  "numora has no \"const\": a variable can always be assigned to",
                  "numora has no pointers, and a string is a value of its own type: write string name = \"x\""}));
    // A pointer to anything but char has no counterpart, and no line.
    const std::vector<std::string> pointer = Hints("const int *ip");
    ASSERT_EQ(pointer.size(), 2u);
    EXPECT_EQ(pointer[1], "numora has no pointers: a reference (int &r = a) shares a variable, and an array holds "
                          "several values");
    EXPECT_EQ(pointer[0].find("write"), std::string::npos);
    // A declared name is no type word.
    manager_.Parse("int unsigned = 1");
    EXPECT_TRUE(Hints("unsigned int 2").empty());
}

TEST_F(TerminalAdvice, ADeclarationHasOneTypeWord) {
    EXPECT_EQ(HintText("int a = 1, int b = 2"),
              "a declaration has one type word, before its first name: write int a = 1, b = 2");
    EXPECT_EQ(HintText("int a = 1, double b = 2"), "a declaration has one type word, before its first name: "
                                                   "declare names of another type on a line of their own");
    EXPECT_EQ(HintText("int f(int a, int b) a, int c"), "a declaration has one type word, before its first name: "
                                                        "write int f(int a, int b) a, c");
    const std::vector<std::string> parts = Hints("int a = 1; double b = 2");
    EXPECT_EQ(parts, std::vector<std::string>{"numora reads one declaration or expression a line and has no \";\": "
                                              "type each on a line of its own"});
    EXPECT_EQ(HintText("int a = 1; int b = 2"),
              "numora reads one declaration a line and has no \";\": declare names of one type together, as in int a "
              "= 1, b = 2");
    EXPECT_EQ(HintText("1; 2"), "numora reads one expression a line and has no \";\": separate expressions with \",\"");
}

TEST_F(TerminalAdvice, LiteralSuffixesAndEscapesAreWrittenAsNumoraReadsThem) {
    EXPECT_EQ(HintText("10u"), "numora has no literal suffixes such as \"u\" in 10u: write 10; a value takes the type "
                               "of the variable it is stored in");
    EXPECT_NE(HintText("0x1FUL").find("\"UL\" in 0x1FUL: write 0x1F;"), std::string::npos);
    EXPECT_NE(HintText("1e5f").find("write 1e5;"), std::string::npos);
    // One literal is enough to show the habit.
    EXPECT_EQ(Hints("1.5f + 2.5f").size(), 1u);
    EXPECT_EQ(HintText("'\\t'"),
              "character constants have no escape sequences here: write 9 for '\\t', or use a string");
    EXPECT_NE(Hints("'\\''")[0].find("write 39 for '\\''"), std::string::npos);
    EXPECT_EQ(HintText("'\\q'"), "character constants have no escape sequences here: write the character's code, or "
                                 "use a string");
}

TEST_F(TerminalAdvice, ArraysAndStringsSayWhatToWriteInstead) {
    manager_.Parse("int b[3] = {1, 2, 3}");
    manager_.Parse("int m[2][3]");
    manager_.Parse("string s = \"abc\"");
    EXPECT_EQ(HintText("b + 1"), "\"b\" is an array: name one of its elements, as in b[0]; #lv lists the variables "
                                 "and arrays");
    EXPECT_NE(HintText("m").find("as in m[0][0];"), std::string::npos);
    // Nor is an array a name to declare.
    EXPECT_EQ(Hints("b = 1").size(), 1u);
    const std::string strings = "numora's strings have no subscripts: strlen, strcmp, strcat and strcpy work on "
                                "whole strings, and an array of char holds characters one by one";
    EXPECT_EQ(HintText("s[0]"), strings);
    EXPECT_EQ(HintText("\"abc\"[1]"), strings);
}

TEST_F(TerminalAdvice, ExitWithAStatusEndsTheSessionThroughTheLastResult) {
    EXPECT_EQ(HintText("exit(0)"), "to end the session, type #exit or press Ctrl-D");
    EXPECT_EQ(Hints("exit(0);"), (std::vector<std::string>{"numora needs no \";\" at the end of a line: leave it out",
                                                           "to end the session, type #exit or press Ctrl-D"}));
    EXPECT_EQ(HintText("exit(3)"), "to end the session with the status 3, type 3 and then #exit, which ends it with "
                                   "the last result as its status");
    EXPECT_EQ(HintText("exit(n)"), "to end the session, type #exit or press Ctrl-D");
}

TEST_F(TerminalAdvice, AReportIsFoldedAtBlanksWithTheDesignsTextWhole) {
    const std::string hint = "hint: \"cnt\" is not declared, and numora has no compound assignment \"+=\": declare "
                             "it first, as in int cnt = 0, then write cnt = cnt + 1";
    const std::vector<std::string> lines = {"int cnt = 0", "cnt = cnt + 1"};
    EXPECT_EQ(FoldedLines("", hint, 80, lines),
              (std::vector<std::string>{
                  "hint: \"cnt\" is not declared, and numora has no compound assignment \"+=\": declare",
                  "      it first, as in int cnt = 0, then write cnt = cnt + 1"}));
    EXPECT_EQ(FoldedLines("", hint, 40, lines),
              (std::vector<std::string>{"hint: \"cnt\" is not declared, and numora",
                                        "      has no compound assignment \"+=\":",
                                        "      declare it first, as in",
                                        "      int cnt = 0, then write",
                                        "      cnt = cnt + 1"}));
    // The design's text counts its characters of double width, and stays
    // whole however narrow the terminal.
    const std::string head = "pos:13  初期化式が必要です \xE2\x80\x94 ";
    EXPECT_EQ(FoldedLines(head, "an initial value is needed after \"=\"", 40),
              (std::vector<std::string>{head + "an initial", "      value is needed after \"=\""}));
    EXPECT_EQ(FoldedLines(head, "an initial value", 20),
              (std::vector<std::string>{head.substr(0, head.size() - 1), "      an initial", "      value"}));
    // A word wider than the line stands alone on one; a phrase too is cut
    // only when no line holds it.
    EXPECT_EQ(FoldedLines("", "a " + std::string(50, 'w') + " b", 40),
              (std::vector<std::string>{"a", "      " + std::string(50, 'w'), "      b"}));
    const std::vector<std::string> phrase = {"int a = 1, b = 2, c = 3, d = 4, e = 5, f = 6"};
    EXPECT_EQ(FoldedLines("", "hint: write " + phrase[0], 30, phrase),
              (std::vector<std::string>{"hint: write int a = 1, b = 2,", "      c = 3, d = 4, e = 5, f =",
                                        "      6"}));
}

// Every English text and hint, at the widths a person works at: no line is
// wider than the screen unless one word is, and nothing is lost.
TEST_F(TerminalAdvice, EveryTextFitsTheScreenAndKeepsItsWords) {
    std::vector<std::string> texts;
    for (int i = 0; i < static_cast<int>(Diag::Count); ++i) texts.push_back(DiagEnglish(static_cast<Diag>(i)));
    for (const Proposal& proposal : kProposals) {
        if (*proposal.scene != '\0') Runs(proposal.scene);
        for (const Hint& hint : HintsOf(proposal.line)) texts.push_back("hint: " + hint.text);
    }
    const std::string head = "pos:13  初期化式が必要です \xE2\x80\x94 ";
    for (const size_t width : {80u, 40u}) {
        for (const std::string& text : texts) {
            std::string joined;
            for (const std::string& line : FoldedLines(head, text, width)) {
                const bool oneWord = line.find(' ', 6) == std::string::npos;
                EXPECT_TRUE(DisplayWidth(line) <= width || oneWord || line.starts_with(head)) << width << ": " << line;
                joined += (joined.empty() ? "" : " ") + line.substr(line.find_first_not_of(' '));
            }
            EXPECT_EQ(joined, head + text) << width;
        }
    }
}
