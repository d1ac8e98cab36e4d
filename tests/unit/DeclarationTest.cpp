// Declarations driven through the manager: what the variables hold right
// after their line is parsed, how references share value objects, and the
// limits a transcript cannot observe directly.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "engine/items/CExpDeclaration.h"
#include "engine/items/CExpVararray.h"
#include "engine/items/CExpVariable.h"
#include "engine/manager/CExpManager.h"
#include "value/CTextError.h"

namespace {

class DeclarationTest : public ::testing::Test {
protected:
    // Parses a line and returns its parse diagnostics as display texts.
    std::vector<std::string> Parse(const std::string& line) {
        manager_.Parse(line);
        std::vector<std::string> texts;
        for (const CExpDiag& diag : manager_.ParseDiagnostics()) texts.push_back(FormatDiagnostic(diag));
        return texts;
    }

    CExpItem* Declared(const std::string& name) const {
        for (const auto& declared : manager_.Declarations()) {
            if (declared->Name() == name) return declared.get();
        }
        return nullptr;
    }

    CExpVariable& Variable(const std::string& name) const {
        CExpItem* found = Declared(name);
        EXPECT_NE(found, nullptr) << name;
        EXPECT_EQ(found->Kind(), EXP_VARIABLE) << name;
        return static_cast<CExpVariable&>(*found);
    }

    CExpVararray& Array(const std::string& name) const {
        CExpItem* found = Declared(name);
        EXPECT_NE(found, nullptr) << name;
        EXPECT_EQ(found->Kind(), EXP_VARARRAY) << name;
        return static_cast<CExpVararray&>(*found);
    }

    // Runs an expression line and returns its value in decimal.
    std::string Evaluate(const std::string& line) {
        EXPECT_TRUE(Parse(line).empty()) << line;
        CValueData result;
        EXPECT_TRUE(manager_.Execute(result)) << line;
        return result.FormatDec();
    }

    CExpManager manager_;
};

TEST_F(DeclarationTest, VariablesExistOnceTheirLineIsParsed) {
    EXPECT_TRUE(Parse("int a = 3, b").empty());
    ASSERT_TRUE(Variable("a").Value());
    EXPECT_EQ(Variable("a").Value()->Type(), VTYPE_INT);
    EXPECT_EQ(Variable("a").Value()->AsInt(), 3);
    EXPECT_EQ(Variable("b").Value()->AsInt(), 0);
    CValueData result = CValueData::Int(9);
    EXPECT_TRUE(manager_.Execute(result));
    EXPECT_TRUE(result.IsEmpty());
}

TEST_F(DeclarationTest, AReferenceSharesItsTargetsValueObject) {
    EXPECT_TRUE(Parse("int x = 2").empty());
    EXPECT_TRUE(Parse("int &r = x, &rr = r").empty());
    EXPECT_EQ(Variable("r").Value(), Variable("x").Value());
    EXPECT_EQ(Variable("rr").Value(), Variable("x").Value());
    EXPECT_TRUE(Variable("r").IsReference());
    EXPECT_EQ(Evaluate("rr = 7"), "7");
    EXPECT_EQ(Evaluate("x"), "7");
}

TEST_F(DeclarationTest, ADeclarationWhoseRunRaisesIsDroppedAndItsNameStaysFree) {
    EXPECT_THROW(manager_.Parse("int y = 1, x = 0 ? 1 : \"a\""), CTextError);
    EXPECT_EQ(Declared("x"), nullptr);
    EXPECT_EQ(Declared("y"), nullptr);
    EXPECT_THROW(manager_.Parse("int z[2] = {1, 0 ? 2 : \"b\"}"), CTextError);
    EXPECT_EQ(Declared("z"), nullptr);
    EXPECT_TRUE(Parse("int x = 4, z[1] = {5}").empty());
    EXPECT_EQ(Evaluate("x + z[0]"), "9");
}

TEST_F(DeclarationTest, AVariableWhoseDeclarationStoppedEarlyHasNoEntity) {
    EXPECT_TRUE(Parse("int a = 1 / 0, b").empty());
    EXPECT_EQ(Variable("a").Value()->AsInt(), 0);
    EXPECT_FALSE(Variable("b").Value());
    EXPECT_TRUE(Parse("b = 1").empty());
    CValueData result;
    EXPECT_FALSE(manager_.Execute(result));
    ASSERT_EQ(manager_.ExecDiagnostics().size(), 1u);
    EXPECT_EQ(FormatDiagnostic(manager_.ExecDiagnostics()[0]), "pos:0  *実体の無い変数が参照されました");
}

TEST_F(DeclarationTest, RefusedDeclarationsLeaveEarlierVariablesUntouched) {
    EXPECT_TRUE(Parse("int a = 1").empty());
    EXPECT_FALSE(Parse("int a[65537]").empty());
    EXPECT_FALSE(Parse("int a[1000][1000]").empty());
    EXPECT_FALSE(Parse("int q[65536][65536][65536]").empty());
    EXPECT_FALSE(Parse("int q[2147483647][2147483647]").empty());
    EXPECT_FALSE(Parse("int a = 2").empty());
    EXPECT_EQ(Declared("q"), nullptr);
    EXPECT_EQ(manager_.Declarations().size(), 1u);
    EXPECT_EQ(Evaluate("a"), "1");
}

TEST_F(DeclarationTest, TheLargestArraysOfEveryTypeAreQuick) {
    const auto start = std::chrono::steady_clock::now();
    for (const char* type : {"char", "short", "int", "double", "bool", "string"}) {
        const std::string name = std::string("big_") + type;
        EXPECT_TRUE(Parse(std::string(type) + " " + name + "[65536]").empty()) << type;
        EXPECT_TRUE(Parse(std::string(type) + " " + name + "2[256][256]").empty()) << type;
        EXPECT_EQ(Array(name).Storage()->Dims(), std::vector<int32_t>{65536});
    }
    EXPECT_EQ(Evaluate("big_string[65535] = \"end\""), "\"end\"");
    EXPECT_EQ(Evaluate("big_double2[255][255] = 1.5"), "1.5");
    EXPECT_EQ(Evaluate("big_double2[255][255]"), "1.5");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(DeclarationTest, BraceListsNestedPastTheDepthBoundAreASyntaxError) {
    const std::string line = "int a[1] = " + std::string(5000, '{');
    const std::vector<std::string> diagnostics = Parse(line);
    ASSERT_FALSE(diagnostics.empty());
    EXPECT_EQ(diagnostics.front(), "pos:1012  構文エラー");   // past the 1001st "{"
    EXPECT_EQ(Declared("a"), nullptr);
}

TEST_F(DeclarationTest, ManyDeclaratorsOnOneLine) {
    std::string line = "int v0";
    for (int i = 1; i < 20000; ++i) line += ", v" + std::to_string(i) + " = v" + std::to_string(i - 1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(Parse(line).empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(Evaluate("v19999"), "0");
}

// A user function's parameter is one declaration of its own: the comma
// before the next type word belongs to the parameter list, and a reference
// parameter needs no initializer.
TEST(ParameterDeclaration, StopsBeforeTheNextParameter) {
    struct Case {
        const char* text;
        size_t declarators;
        int end;
    };
    for (const Case& c : {Case{"int &r, int b", 1, 6}, Case{"int a, ...)", 1, 5}, Case{"int a, b)", 2, 8}}) {
        ParseWorkspace workspace;
        workspace.Reset(c.text);
        CExpSource source(workspace);
        CExpDeclaration declaration;
        declaration.SetParameter();
        EXPECT_TRUE(declaration.Parse(source)) << c.text;
        EXPECT_FALSE(source.HasDiag()) << c.text;
        EXPECT_EQ(declaration.ChildCount(), c.declarators) << c.text;
        EXPECT_EQ(source.position, c.end) << c.text;
    }
}

}  // namespace
