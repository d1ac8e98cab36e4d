// The quick evaluator against the full parser: whatever line the evaluator
// accepts must get the value the full parser gives it, and a manager that
// evaluates quick lines must answer every line (values, diagnostics) exactly
// as one that parses every line in full.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "engine/CExpManager.h"
#include "engine/CQuickEvaluator.h"
#include "engine/OperatorTable.h"
#include "value/CTextError.h"

namespace {

// Everything a manager says about one line.
struct Outcome {
    bool parsed = false;
    bool executed = false;
    std::vector<std::string> diagnostics;
    std::string type;
    std::vector<std::string> texts;   // the value in every radix
    std::string error;                // the value model's text error, if raised

    bool operator==(const Outcome&) const = default;
};

Outcome RunLine(CExpManager& manager, const std::string& line) {
    Outcome outcome;
    try {
        outcome.parsed = manager.Parse(line);
        std::string diagnostic;
        while (manager.NextParseDiagnostic(diagnostic)) outcome.diagnostics.push_back(diagnostic);
        CValueData value;
        outcome.executed = manager.Execute(value);
        while (manager.NextExecDiagnostic(diagnostic)) outcome.diagnostics.push_back(diagnostic);
        outcome.type = std::to_string(value.Type());
        for (int radix : {2, 8, 10, 16}) outcome.texts.push_back(value.Format(radix));
    } catch (const CTextError& error) {
        outcome.error = error.Text();
    }
    return outcome;
}

std::string Describe(const Outcome& outcome) {
    std::string text = std::string(outcome.parsed ? "parsed" : "refused") + (outcome.executed ? " ran" : " failed");
    for (const std::string& diagnostic : outcome.diagnostics) text += " [" + diagnostic + "]";
    text += " type " + outcome.type;
    for (const std::string& form : outcome.texts) text += " " + form;
    return text + outcome.error;
}

// Lines made of the pieces the evaluator knows and of pieces it must leave
// to the full parser, in random order and in well-formed arithmetic.
class LineGenerator {
public:
    explicit LineGenerator(unsigned seed) : random_(seed) {}

    std::string AnyLine() {
        std::string line;
        const int count = Pick(1, 12);
        for (int i = 0; i < count; ++i) line += Piece(kBlanks) + Piece(Pick(0, 3) == 0 ? kOperators : kOperands);
        return line;
    }

    std::string ArithmeticLine() { return Expression(3); }

private:
    static inline const std::vector<std::string> kBlanks = {"", "", "", " ", "  ", "\t", "/* c */", " // end"};
    static inline const std::vector<std::string> kOperands = {
        "0", "7", "12", "2147483647", "2147483648", "4294967296", "010", "08", "0x1F", "0x", "0b101", "0b2",
        "1.5", ".5", "5.", ".", "1e3", "1e", "2.5e-3", "1e400", "1e-400", "3$4", "1$2$3", "'a'", "\"s\"",
        "true", "x", "d", "nothing", "int", "sqrt(2)", "sqrt(-1)", "sin(0.5)", "pow(2, 10)", "pow(2)",
        "max(1, 2.5)", "fmod(7, 0)", "abs(-3)", "log(0)", "exp(1000)", "strlen(\"ab\")", "sqrt", "sqrt()",
        "(", ")", "(1)", "()", "-", "+", "--", "++"};
    static inline const std::vector<std::string> kOperators = {
        "+", "-", "*", "/", "%", "++", "--", "<<", "==", "=", "?", ":", ",", "&&", "!", "~", "$", "/*"};

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    const std::string& Piece(const std::vector<std::string>& pieces) {
        return pieces[static_cast<size_t>(Pick(0, static_cast<int>(pieces.size()) - 1))];
    }

    std::string Term(int depth) {
        switch (Pick(0, depth > 0 ? 9 : 5)) {
            case 0: return std::to_string(Pick(0, 9));
            case 1: return std::to_string(Pick(0, 100000));
            case 2: return std::to_string(Pick(0, 999)) + "." + std::to_string(Pick(0, 99));
            case 3: return "0x" + std::to_string(Pick(0, 99));
            case 4: return std::to_string(Pick(1, 9)) + "e" + std::to_string(Pick(-3, 3));
            case 5: return std::to_string(Pick(0, 3));
            case 6: return "(" + Expression(depth - 1) + ")";
            case 7: return std::string(Pick(0, 1) ? "-" : "+") + Term(depth - 1);
            case 8: return std::string(Pick(0, 1) ? "sqrt(" : "sin(") + Expression(depth - 1) + ")";
            default: return "pow(" + Expression(depth - 1) + ", " + Term(depth - 1) + ")";
        }
    }

    std::string Expression(int depth) {
        static const char* const kBinary[] = {" + ", " - ", " * ", " / ", " % ", "+", "-", "*"};
        std::string text = Term(depth);
        const int count = Pick(0, 5);
        for (int i = 0; i < count; ++i) text += kBinary[Pick(0, 7)] + Term(depth);
        return text;
    }

    std::mt19937 random_;
};

class QuickEvaluatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        full_.SetQuickLines(false);
        for (const char* declaration : {"int x = 3", "double d = 2.5", "double twice(double v) v * 2"}) {
            quick_.Parse(declaration);
            full_.Parse(declaration);
        }
    }

    // The line gets the same answer from both managers; true when the
    // evaluator took it.
    bool Compare(const std::string& line) {
        CValueData quickValue;
        CQuickEvaluator evaluator(full_.Scope());
        const bool taken = evaluator.Evaluate(line, quickValue);
        const Outcome full = RunLine(full_, line);
        if (taken) {
            EXPECT_TRUE(full.parsed && full.executed && full.diagnostics.empty()) << line << ": " << Describe(full);
            EXPECT_EQ(std::to_string(quickValue.Type()), full.type) << line;
            EXPECT_EQ(quickValue.Format(10), full.texts.at(2)) << line;
        }
        const Outcome quick = RunLine(quick_, line);
        EXPECT_EQ(quick, full) << line << "\n quick: " << Describe(quick) << "\n full:  " << Describe(full);
        return taken;
    }

    CExpManager quick_;
    CExpManager full_;
};

}  // namespace

TEST_F(QuickEvaluatorTest, TakesTheLinesItIsMeantFor) {
    for (const char* line : {"1 + 2 * 3", "(1 - 7) * -2", "10 / 4 % 3", "1.5 * 2", " 2 - - 3 ", "sqrt(2) * sin(0.5) + 1",
                             "pow(2, 10)", "0x10 + 010 + 0b1", "1e3 /* a comment */ + 1 // and another",
                             "2147483648 + 4294967296", "-(-(-(1)))"}) {
        EXPECT_TRUE(Compare(line)) << line;
    }
}

TEST_F(QuickEvaluatorTest, LeavesEverythingElseToTheFullParser) {
    for (const char* line : {"1 / 0", "5 % 0.0", "7 % 2.5", "sqrt(-1)", "log(0)", "exp(1000)", "1 +", "(1", "1)", "()",
                             "1 2", "1$3 + 1", "x + 1", "twice(2)", "strlen(\"ab\")", "pow(2)", "sqrt(1, 2)", "1 ++ 2",
                             "1 /* open", "1, 2", "(1, 2)", "1 << 2", "1e", "0x", "'a' + 1", "true + 1", "nothing",
                             "1 ? 2 : 3"}) {
        EXPECT_FALSE(Compare(line)) << line;
    }
}

TEST_F(QuickEvaluatorTest, LongLinesGoToTheFullParserWhichKnowsTheDepthBound) {
    std::string chain = "1";
    for (int i = 0; i < 1000; ++i) chain += "+1";
    EXPECT_FALSE(Compare(chain));
    EXPECT_FALSE(Compare(std::string(1001, '(') + "1" + std::string(1001, ')')));
    EXPECT_FALSE(Compare(std::string(999, '-') + "1"));
}

TEST_F(QuickEvaluatorTest, AgreesWithTheFullParserOnRandomArithmetic) {
    LineGenerator generator(20261207);
    int taken = 0;
    constexpr int kLines = 4000;
    for (int i = 0; i < kLines; ++i) taken += Compare(generator.ArithmeticLine()) ? 1 : 0;
    // The generated lines often divide by zero, take a remainder of a double
    // or overflow pow, which the evaluator leaves to the full parser; the
    // rest it must take.
    EXPECT_GT(taken, kLines / 4);
}

TEST_F(QuickEvaluatorTest, AgreesWithTheFullParserOnRandomPieces) {
    LineGenerator generator(7);
    for (int i = 0; i < 20000; ++i) Compare(generator.AnyLine());
}

// The operator matcher answers from a table of the rows each first character
// can reach; it must still answer the first fitting row of the whole table:
// a two-character operator before its one-character prefix, the signs before
// addition and subtraction.
TEST(OperatorTable, MatchesTheFirstFittingRow) {
    struct Case {
        const char* text;
        size_t available;
        int code;   // -1: no operator
    };
    const Case cases[] = {
        {"++", 2, OP_PRE_INC}, {"+ ", 2, OP_PLUS},  {"+=", 2, OP_PLUS},   {"+", 1, OP_PLUS},  {"--", 2, OP_PRE_DEC},
        {"-1", 2, OP_MINUS},   {"*/", 2, OP_MUL},   {"<<", 2, OP_SHL},    {"<=", 2, OP_LE},   {"<<", 1, OP_LT},
        {"< ", 2, OP_LT},      {">>", 2, OP_SHR},   {">=", 2, OP_GE},     {"> ", 2, OP_GT},   {"==", 2, OP_EQ},
        {"=a", 2, OP_ASSIGN},  {"!=", 2, OP_NE},    {"!!", 2, OP_NOT},    {"&&", 2, OP_AND},  {"&=", 2, OP_BITAND},
        {"||", 2, OP_OR},      {"|a", 2, OP_BITOR}, {"?:", 2, OP_COND},   {":", 1, OP_COLON}, {",,", 2, OP_COMMA},
        {"~~", 2, OP_BITNOT},  {"^", 1, OP_XOR},    {"%%", 2, OP_MOD},    {"/", 1, OP_DIV},   {"a+", 2, -1},
        {"$", 1, -1},          {"", 0, -1},
    };
    for (const Case& c : cases) {
        const OperatorDef* matched = MatchOperator(c.text, c.available);
        EXPECT_EQ(matched == nullptr ? -1 : matched->code, c.code) << '"' << c.text << "\" " << c.available;
    }
}

TEST(OperatorTable, AMatchIsAlwaysAPrefixOfTheText) {
    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; ++second) {
            const char text[2] = {static_cast<char>(first), static_cast<char>(second)};
            for (size_t available : {size_t{1}, size_t{2}}) {
                const OperatorDef* matched = MatchOperator(text, available);
                if (matched == nullptr) continue;
                const size_t length = std::strlen(matched->text);
                ASSERT_LE(length, available);
                ASSERT_EQ(std::string(matched->text), std::string(text, length));
            }
        }
    }
}
