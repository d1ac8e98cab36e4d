// The trees the expression parser builds: precedence, associativity, the
// grouping of signs, increments and conditionals, and the depth bound.
// Transcripts see only values; these cases look at the shape itself.
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "engine/expression/ReadingRules.h"
#include "engine/items/CExpConstant.h"
#include "engine/items/CExpOperator.h"
#include "engine/items/CExpression.h"
#include "engine/manager/CExpManager.h"

namespace {

// The tree in prefix form: «+(1,*(2,3))»; postfix increments show as «post++».
std::string Shape(const CExpItem& item) {
    if (item.Kind() == EXP_EXPRESSION) return item.ChildCount() == 1 ? Shape(*item.Child(0)) : "<broken>";
    if (item.Kind() == EXP_KAKKO) return "[" + Shape(*item.Child(0)) + "]";
    if (item.Kind() != EXP_OPERATOR) return item.Text();
    const auto& op = static_cast<const CExpOperator&>(item);
    std::string shape = op.Code() == OP_POST_INC || op.Code() == OP_POST_DEC ? "post" : "";
    shape += op.Text() + "(";
    for (size_t i = 0; i < op.ChildCount(); ++i) shape += (i ? "," : "") + Shape(*op.Child(i));
    return shape + ")";
}

class ExpressionTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(manager_.Parse("int a, b, c, d, e, i, j, t, x, y"));
        for (const auto& variable : manager_.Declarations()) scope_.Define(variable.get());
    }

    // The expression at the start of the line, parsed on its own (nothing
    // checks what follows it).
    CExpression& ParseOnly(const std::string& line, bool stopAtComma = false) {
        line_ = line;
        workspace_.Reset(line_);
        workspace_.expressions.folding = false;   // the tree as read, not what it comes to
        source_ = CExpSource(workspace_);
        auto* expression = workspace_.New<CExpression>();
        expression->SetParent(&scope_);
        parsed_ = expression->ParseExpression(source_, stopAtComma);
        return *expression;
    }

    // The shape of the line's tree, or its diagnostics as «pos.major.minor».
    std::string Parse(const std::string& line) {
        const CExpression& expression = ParseOnly(line);
        if (!source_.HasDiag()) return parsed_ ? Shape(expression) : "<nothing>";
        std::string diags;
        for (const CExpDiag& diag : source_.diags.All()) {
            diags += (diags.empty() ? "" : " ") + std::to_string(diag.position) + "." +
                     std::to_string(diag.Major()) + "." + std::to_string(diag.Minor());
        }
        return diags;
    }

    CExpManager manager_;
    CExpScope scope_;
    std::string line_;
    ParseWorkspace workspace_;
    CExpSource source_{workspace_};
    bool parsed_ = false;
};

TEST_F(ExpressionTreeTest, BinaryOperatorsFollowPrecedence) {
    EXPECT_EQ(Parse("1 + 2 * 3"), "+(1,*(2,3))");
    EXPECT_EQ(Parse("1 * 2 + 3"), "+(*(1,2),3)");
    EXPECT_EQ(Parse("a << 1 + 2"), "<<(a,+(1,2))");
    EXPECT_EQ(Parse("a < b << 1"), "<(a,<<(b,1))");
    EXPECT_EQ(Parse("a == b < c"), "==(a,<(b,c))");
    EXPECT_EQ(Parse("a & b == c"), "0.11.6");   // "&" of a bool
    EXPECT_EQ(Parse("a & b >> c"), "&(a,>>(b,c))");
    EXPECT_EQ(Parse("a ^ b & c"), "^(a,&(b,c))");
    EXPECT_EQ(Parse("a | b ^ c"), "|(a,^(b,c))");
    EXPECT_EQ(Parse("a && b | c"), "&&(a,|(b,c))");
    EXPECT_EQ(Parse("a || b && c"), "||(a,&&(b,c))");
    EXPECT_EQ(Parse("a = b || c"), "=(a,||(b,c))");
    EXPECT_EQ(Parse("a = 1, b = 2"), ",(=(a,1),=(b,2))");
    EXPECT_EQ(Parse("(1 + 2) * 3"), "*([+(1,2)],3)");
}

// Every pair of binary operators groups as C groups them: C's precedence
// and associativity are written here on their own, from the language, and
// the trees the readers build from the operator table's binding powers must
// agree with them.
TEST_F(ExpressionTreeTest, BindingPowersGroupEveryPairOfOperatorsAsC) {
    struct CLevel {
        std::vector<std::string> operators;
        bool fromTheRight;
    };
    // From the tightest to the loosest.
    const std::vector<CLevel> c = {
        {{"*", "/", "%"}, false}, {{"+", "-"}, false},   {{"<<", ">>"}, false}, {{"<", "<=", ">", ">="}, false},
        {{"==", "!="}, false},    {{"&"}, false},        {{"^"}, false},        {{"|"}, false},
        {{"&&"}, false},          {{"||"}, false},       {{"="}, true},         {{","}, false},
    };
    for (size_t first = 0; first < c.size(); ++first) {
        for (size_t second = 0; second < c.size(); ++second) {
            for (const std::string& x : c[first].operators) {
                for (const std::string& y : c[second].operators) {
                    const bool xFirst = first < second || (first == second && !c[first].fromTheRight);
                    const std::string expected = xFirst ? y + "(" + x + "(a,b),c)" : x + "(a," + y + "(b,c))";
                    EXPECT_EQ(Shape(ParseOnly("a " + x + " b " + y + " c")), expected) << x << " then " << y;
                }
            }
        }
    }
    // A sign, a complement or a negation binds tighter than every binary
    // operator, on either side of it.
    for (const CLevel& level : c) {
        for (const std::string& x : level.operators) {
            EXPECT_EQ(Shape(ParseOnly("-a " + x + " b")), x + "(-(a),b)");
            EXPECT_EQ(Shape(ParseOnly("a " + x + " !b")), x + "(a,!(b))");
        }
    }
}

TEST_F(ExpressionTreeTest, AssociativityOfEachKind) {
    EXPECT_EQ(Parse("a - b - c"), "-(-(a,b),c)");
    EXPECT_EQ(Parse("a / b * c"), "*(/(a,b),c)");
    EXPECT_EQ(Parse("a = b = 3"), "=(a,=(b,3))");
    EXPECT_EQ(Parse("a, b, c"), ",(,(a,b),c)");
    EXPECT_EQ(Parse("!~a"), "!(~(a))");
}

TEST_F(ExpressionTreeTest, SignsGroupRightToLeftLikeOtherUnaryOperators) {
    EXPECT_EQ(Parse("-1"), "-(1)");
    EXPECT_EQ(Parse("2 -1"), "-(2,1)");
    EXPECT_EQ(Parse("a*-b"), "*(a,-(b))");
    EXPECT_EQ(Parse("- -a"), "-(-(a))");
    EXPECT_EQ(Parse("-~a"), "-(~(a))");
    EXPECT_EQ(Parse("+!a"), "+(!(a))");
    EXPECT_EQ(Parse("-a * b"), "*(-(a),b)");
}

TEST_F(ExpressionTreeTest, IncrementsAttachToTheirVariable) {
    EXPECT_EQ(Parse("-a++"), "-(post++(a))");
    EXPECT_EQ(Parse("a++ - 1"), "-(post++(a),1)");
    EXPECT_EQ(Parse("x+++y"), "+(post++(x),y)");
    EXPECT_EQ(Parse("--a * 2"), "*(--(a),2)");
    EXPECT_EQ(Parse("a++ + ++b"), "+(post++(a),++(b))");
}

TEST_F(ExpressionTreeTest, ConditionalsGroupAsInC) {
    EXPECT_EQ(Parse("c ? 1 : 2"), "?(c,1,2)");
    EXPECT_EQ(Parse("c ? a : b, d"), ",(?(c,a,b),d)");
    EXPECT_EQ(Parse("i, t ? i : -j"), ",(i,?(t,i,-(j)))");
    EXPECT_EQ(Parse("a ? b ? c : d : e"), "?(a,?(b,c,d),e)");
    EXPECT_EQ(Parse("a ? b : c ? d : e"), "?(a,b,?(c,d,e))");
    EXPECT_EQ(Parse("a = b ? c : d"), "=(a,?(b,c,d))");
    EXPECT_EQ(Parse("c ? a = 1 : 2"), "?(c,=(a,1),2)");
    EXPECT_EQ(Parse("c ? a, b : d"), "?(c,,(a,b),d)");
    EXPECT_EQ(Parse("a ? b : c + d"), "?(a,b,+(c,d))");
    EXPECT_EQ(Parse("a || b ? c : d"), "?(||(a,b),c,d)");
}

TEST_F(ExpressionTreeTest, MalformedLinesGiveTheirDiagnostics) {
    EXPECT_EQ(Parse("1 2"), "0.13.2");
    EXPECT_EQ(Parse("1 +"), "2.13.1");
    EXPECT_EQ(Parse("1 ? 2"), "2.13.1");
    EXPECT_EQ(Parse("++1"), "0.11.7");
    EXPECT_EQ(Parse("1--"), "1.11.7");
    EXPECT_EQ(Parse("(1 + 2"), "6.12.2");
    EXPECT_EQ(Parse("()"), "1.12.1");
    EXPECT_EQ(Parse("zz + 1"), "0.1.2");
    EXPECT_EQ(Parse("a<<=b"), "1.13.1");
    EXPECT_EQ(Parse(""), "<nothing>");
    EXPECT_EQ(Parse("  /* only */ // a comment"), "<nothing>");
}

// Prompt lines carry no line end; a text of several lines does.
TEST_F(ExpressionTreeTest, ALineCommentEndsOnlyAtCarriageReturnLineFeed) {
    EXPECT_EQ(Parse("1 // a\r\n+ 2"), "+(1,2)");
    EXPECT_EQ(Parse("1 // a\n+ 2"), "1");
    EXPECT_EQ(Parse("/*/ 1"), "0.2.1");
}

TEST_F(ExpressionTreeTest, AStopAtCommaLeavesTheCommaUnread) {
    const CExpression& expression = ParseOnly("1 + 2, 3", true);
    EXPECT_TRUE(parsed_);
    EXPECT_EQ(source_.position, 5);
    EXPECT_EQ(Shape(expression), "+(1,2)");
}

// Depth counts the levels above the leaves: operators and parentheses.
TEST_F(ExpressionTreeTest, TreesUpToTheDepthBoundAreBuilt) {
    const int bound = kMaxDepth;
    std::string chain = "1";
    for (int i = 0; i < bound; ++i) chain += "+1";
    EXPECT_EQ(Parse(chain).substr(0, 2), "+(");
    EXPECT_EQ(Parse(chain + "+1"), std::to_string(2 * bound + 1) + ".1.1");

    std::string signs;
    for (int i = 0; i < bound; ++i) signs += "- ";
    EXPECT_EQ(Parse(signs + "1").substr(0, 2), "-(");
    EXPECT_EQ(Parse("- " + signs + "1"), "0.1.1");

    const std::string nested = std::string(bound, '(') + "1" + std::string(bound, ')');
    EXPECT_EQ(Parse(nested).substr(0, 1), "[");
    EXPECT_EQ(Parse("(" + nested + ")"), std::to_string(bound + 1) + ".1.1");
    // Parentheses and operators add up.
    EXPECT_EQ(Parse("-" + nested), "0.1.1");
}

}  // namespace

// A row names the rule its way of running calls: without it the first line
// with the operator would crash.
TEST(OperatorTable, EveryRowNamesTheRulesItRunsBy) {
    for (const OperatorDef& row : kOperators) {
        EXPECT_EQ(row.apply != nullptr, row.runs == Runs::Pure) << row.text;
        EXPECT_EQ(row.special.step != nullptr, IsIncrement(row)) << row.text;
        EXPECT_EQ(row.special.predicate != nullptr, row.runs == Runs::Logical) << row.text;
    }
}

// A reading that is undone leaves the cursor, its diagnostics and the
// line's tokens as they were where it began, even when it went on inside a
// token: «==» read as «=» and a second «=» is one token again.
TEST(Cursor, RestoringAMarkUndoesWhatTheReadingDid) {
    ParseWorkspace workspace;
    const std::string line = "a == b";
    workspace.Reset(line);
    CExpSource source(workspace);
    source.Advance();
    const CursorMark mark = source.Save();
    source.SkipBlanks();
    source.ResumeAt(source.position + 1);
    ++source.depth;
    source.mayChangeVariables = true;
    source.AddDiag(source.position, Diag::SyntaxError);
    EXPECT_FALSE(source.AtOperator(OP_EQ));

    source.Restore(mark);
    EXPECT_EQ(source.index, 1U);
    EXPECT_EQ(source.position, 1);
    EXPECT_EQ(source.depth, 0);
    EXPECT_FALSE(source.mayChangeVariables);
    EXPECT_FALSE(source.HasDiag());
    source.SkipBlanks();
    EXPECT_TRUE(source.AtOperator(OP_EQ));
    EXPECT_EQ(source.Lexer().At(2).start, 5);
}

// A group read in line looks at its operand only once it knows it has one:
// an empty group as the session's first line meets stacks that never held
// anything (the sanitizers catch a look at an empty stack's top).
TEST(GroupsReadInLine, AnEmptyGroupAsTheFirstLine) {
    CExpManager manager;
    EXPECT_FALSE(manager.Parse("()"));
    ASSERT_FALSE(manager.ParseDiagnostics().empty());
    EXPECT_EQ(manager.ParseDiagnostics()[0].position, 1);
}

namespace {

// The names the differential lines use, declared and run in a session of
// their own: variables of several types, a reference, arrays, and the
// built-ins.
class KnownNames {
public:
    KnownNames() {
        for (const char* line : {"int a = 7, b = -3, z = 0", "double x = 2.5", "string s = \"t\"", "int &r = a",
                                 "int v[4] = {1, 2, 3, 4}", "double m[2][2] = {{1, 2}, {3, 4}}", "int u[2]"}) {
            EXPECT_TRUE(manager_.Parse(line)) << line;
            CValueData ignored;
            EXPECT_TRUE(manager_.Execute(ignored)) << line;
        }
        for (const auto& function : manager_.Functions()) scope_.Define(function.get());
        for (const auto& declared : manager_.Declarations()) scope_.Define(declared.get());
    }
    CExpScope& Scope() { return scope_; }

private:
    CExpManager manager_;
    CExpScope scope_;
};

// An item and its subtree as text: kind, position, static type, whether it
// is constant, a constant's value bits, and its children.
std::string Tree(const CExpItem& item) {
    std::string text = std::to_string(item.Kind()) + "@" + std::to_string(item.Position()) + ":" +
                       std::to_string(item.ValueType()) + (item.IsConstant() ? "c" : "");
    if (item.Kind() >= EXP_NUM_CONST && item.Kind() <= EXP_BOOL_CONST) {
        const CValueData& value = static_cast<const CExpConstant&>(item).Value();
        unsigned char raw[8] = {};
        // A string's raw form is the address of its characters.
        if (value.Type() != VTYPE_STRING) value.GetRaw(raw);
        text += " value " + std::to_string(value.Type()) + ":";
        for (unsigned char byte : raw) text += std::to_string(byte) + ",";
        text += value.FormatDec();
    }
    text += "(";
    for (size_t i = 0; i < item.ChildCount(); ++i) text += Tree(*item.Child(i)) + " ";
    return text + ")";
}

// What parsing a line came to, in every respect an enclosing item or the
// run can see: the diagnostics, where the cursor stopped, the height, and
// the tree (kind, position, static type, constancy and value bits of each
// item).
std::string ParseOutcome(CExpScope& scope, const std::string& line, bool literalPass, bool stopAtComma) {
    ParseWorkspace workspace;
    workspace.expressions.literalPass = literalPass;
    workspace.Reset(line);
    CExpSource source(workspace);
    auto* expression = workspace.New<CExpression>();
    expression->SetParent(&scope);
    const bool parsed = expression->ParseExpression(source, stopAtComma);
    std::string outcome = std::string(parsed ? "parsed" : "failed") + " at " + std::to_string(source.index) + "/" +
                          std::to_string(source.position);
    for (const CExpDiag& diag : source.diags.All()) {
        outcome += " diag " + std::to_string(diag.position) + "." + std::to_string(diag.Major()) + "." +
                   std::to_string(diag.Minor());
    }
    if (source.mayChangeVariables) outcome += " changes variables";
    const CExpItem* root = expression->Root();
    if (root == nullptr) return outcome;
    return outcome + " height " + std::to_string(expression->Depth()) + " " + Tree(*root);
}

std::string RandomLine(std::mt19937& random) {
    static const char* const kPieces[] = {
        "1", "7", "0", "12", "2.5", "0x10", "017", "1$3", "'a'", "2147483647", "1e400", "\"s\"",
        "a", "b", "z", "x", "s", "r", "v[1]", "v[9]", "m[1][0]", "u[0]", "true", "sqrt(2)", "q", "v", "v[a]",
        "+", "-", "*", "/", "%", "<<", ">>", "<", "<=", "==", "!=", "&", "|", "^", "&&", "||",
        ",", "=", "?", ":", "!", "~", "++", "(", "(", ")", ")", "[", "]", ";", "/* c */", "/* open",
    };
    // Operands first, the literals and then the names, and the rest after them.
    constexpr size_t kLiterals = 12;
    constexpr size_t kOperands = 27;
    static const char* const kTargets[] = {"a = ", "v[2] = ", "x = ", "s = ", "r = ", "m[0][1] = ", "a = b = ",
                                           "1 + a, ", "v[1] = 2, b = "};
    std::string line = random() % 3 == 0 ? kTargets[random() % std::size(kTargets)] : "";
    const size_t pieces = 1 + random() % 14;
    for (size_t i = 0; i < pieces; ++i) {
        // Mostly operands and the operators between them, as people type.
        const bool operand = i % 2 == 0 && random() % 4 != 0;
        const size_t pick = operand ? (random() % 2 == 0 ? random() % kLiterals : random() % kOperands)
                                    : random() % std::size(kPieces);
        line += kPieces[pick];
        if (random() % 3 != 0) line += ' ';
    }
    return line;
}

}  // namespace

// Literal arithmetic, and arithmetic on the values known while a line is
// read, is worked out in one pass over its tokens; what it comes to must be
// exactly what the expression builder would have made of the same text,
// and every line it declines must be read as before.
TEST(LiteralArithmetic, ComesToWhatTheBuilderMakesOfTheLine) {
    KnownNames names;
    std::vector<std::string> lines = {
        "1 * (5 - 4 + 0 + 9) * 2 * 3 + 6 - (3 + 6 * 9 - 7) - 4 * (4 * 0 * 1 * 1)",
        "(1)", "((1)) + 2", "1 + 2 3", "1 + 2)", "(1 + 2", "2 * (3", "1+2 /* open", "1+2 // c", "  4 * 5  ",
        "1/0", "1 % 0 + 2", "7 % 2.5", "1$3 + 1$6", "'a' + 1", "1 + \"s\"", "2147483647 + 1", "1 << 33",
        "3 > 2 == 1", "5 & 3 | 8 ^ 1", "1 + + 2", "1 - -2", "-1 * 2", "- - -1", "-(1 + 2) * 3", "!0 + ~5",
        "-2147483648", "+1$3 - -'a'", "~1.5", "-", "1 * -", "++1", "-x", "1 && 0", "1 ? 2 : 3", "(1+2)[0]", "1, 2", "1 + 2, 3",
        std::string(33, '(') + "1+2" + std::string(33, ')'), std::string(32, '(') + "1+2" + std::string(32, ')'),
        // Names whose values are known while the line is read, and those whose are not.
        "a + 1", "a * b - z", "(a) + 1", "(a + 0) + 1", "-a", "x * 2", "s + s", "r + 1", "v[1] + v[2] * 3",
        "(v[1]) + 1", "m[1][0] / 2", "v[4] + 1", "v[a] + 1", "u[0] + 1", "true + 1", "q + 1", "sqrt(a) + 1",
        "a = 1 + 2", "a = b * 7 + z % 13", "v[3] = v[1] - 2", "x = x * 1.5 + 1", "s = s + \"k\"", "a = b = 2 + 3",
        "a = (b = 1) + 2", "a = b, a + 1", "a = 1 + 2, b + 3", "a = 1 + f", "a = 2 /* open", "a = 1 / 0 + b",
        "++a = 1 + 2", "a++ = 1 + 2", "a = ++b + 1", "1 + a = 2 * 3", "a = 1 ? 2 : 3", "a = 1 + 2 ? 3 : 4",
        "v[1] = 1 + 2", "m[1][0] = x * 2", "u[0] = 1 + 1", "a[1] = 2 + 3", "v[1][2] = 1 + 2", "v = 1 + 2",
        "q = 1 + 2", "true = 1 + 2", "sqrt = 1 + 2", "a = 1 + 2 )", "a = (1 + 2)", "(a) = 1 + 2", "a = 1 + 2, 3",
        "a = 1 + 2 /* c */ ", "r = 2 * 3", "s = 1 + 2", "x = 7 / 2", "a = 5", "a = -5", "v[a] = 1 + 2",
        "v[9] = 1 + 2", "a = 1 + 2 3", "a == 1 + 2", "a = 1 + ", "a =",
    };
    for (const int links : {kMaxDepth - 2, kMaxDepth - 1, kMaxDepth}) {
        std::string chain = "1";
        for (int i = 0; i < links; ++i) chain += "+1";
        lines.push_back(chain);
        lines.push_back("(" + chain + ")");
        lines.push_back("a = " + chain);
    }
    std::mt19937 random(20261208);
    for (int i = 0; i < 6000; ++i) lines.push_back(RandomLine(random));
    for (const std::string& line : lines) {
        for (const bool stopAtComma : {false, true}) {
            EXPECT_EQ(ParseOutcome(names.Scope(), line, true, stopAtComma),
                      ParseOutcome(names.Scope(), line, false, stopAtComma))
                << "line «" << line << "», stopAtComma " << stopAtComma;
        }
    }
}
