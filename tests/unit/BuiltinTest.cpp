// The built-in library seen through the manager (result types the prompt
// cannot show) and directly (math error texts, hostile arguments, the
// replaceable implementation table).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/builtins/BuiltinTable.h"
#include "engine/builtins/Builtins.h"
#include "engine/manager/CExpManager.h"
#include "platform/MathErrors.h"

namespace {

// The value of one line, which must parse and execute.
CValueData Evaluate(CExpManager& manager, const std::string& line) {
    CValueData result;
    EXPECT_TRUE(manager.Parse(line)) << line;
    EXPECT_TRUE(manager.Execute(result)) << line;
    return result;
}

// Runs a built-in directly; false when it failed.
bool RunBuiltin(BuiltinId id, std::vector<CValueData> args, CValueData& result) {
    CBuiltinCall call(id, args);
    const bool ok = BuiltinImplementation(id)(call);
    result = call.Result();
    return ok;
}

std::string MathErrorText(BuiltinId id, std::vector<CValueData> args) {
    CValueData result;
    try {
        RunBuiltin(id, std::move(args), result);
    } catch (const CMathError& error) {
        return error.what();
    }
    return "no error";
}

CValueData Bytes(const char* bytes, size_t count) { return CValueData::String(std::string_view(bytes, count)); }

}  // namespace

TEST(BuiltinTable, HasSixtyRowsInTheOrderOfTheIds) {
    ASSERT_EQ(BuiltinTable().size(), static_cast<size_t>(BUILTIN_COUNT));
    EXPECT_STREQ(BuiltinTable()[BUILTIN_STRCAT].name, "strcat");
    EXPECT_STREQ(BuiltinTable()[BUILTIN_GETCH].name, "getch");
    EXPECT_STREQ(BuiltinTable()[BUILTIN_GETCWD].name, "getcwd");
    EXPECT_STREQ(BuiltinTable()[BUILTIN_GCVT].name, "gcvt");
    EXPECT_STREQ(BuiltinTable()[BUILTIN_MODF].name, "modf");
    EXPECT_STREQ(BuiltinTable()[BUILTIN_SYSTEM].name, "system");
    EXPECT_STREQ(BuiltinTable()[BUILTIN_PRINTF].name, "printf");
}

TEST(BuiltinResultTypes, FollowTheValueNotTheDeclaredType) {
    CExpManager manager;
    EXPECT_EQ(Evaluate(manager, "strlen(\"abc\")").Type(), VTYPE_DWORD);
    EXPECT_EQ(Evaluate(manager, "abs(-3)").Type(), VTYPE_INT);
    EXPECT_EQ(Evaluate(manager, "abs(-2.5)").Type(), VTYPE_DOUBLE);
    EXPECT_EQ(Evaluate(manager, "atol(\"5\")").Type(), VTYPE_LONG);
    EXPECT_EQ(Evaluate(manager, "labs(-5)").Type(), VTYPE_LONG);
    EXPECT_EQ(Evaluate(manager, "strcmp(\"a\", \"b\")").Type(), VTYPE_INT);
    EXPECT_EQ(Evaluate(manager, "rand()").Type(), VTYPE_INT);
    EXPECT_EQ(Evaluate(manager, "srand(1)").Type(), VTYPE_NONE);
}

TEST(BuiltinResultTypes, MaxAndMinKeepTheChosenArgumentsType) {
    CExpManager manager;
    const CValueData mixed = Evaluate(manager, "max(1, 2.5)");
    EXPECT_EQ(mixed.Type(), VTYPE_DOUBLE);
    EXPECT_EQ(mixed.AsDouble(), 2.5);
    EXPECT_EQ(Evaluate(manager, "max(3, 3.0)").Type(), VTYPE_DOUBLE);   // equal: the second
    EXPECT_EQ(Evaluate(manager, "max(1, 2)").Type(), VTYPE_INT);
    const CValueData least = Evaluate(manager, "min(2, 1)");
    EXPECT_EQ(least.Type(), VTYPE_INT);
    EXPECT_EQ(least.AsInt(), 1);
}

TEST(BuiltinOutputs, AreConvertedToTheVariablesType) {
    CExpManager manager;
    Evaluate(manager, "double e = 0");
    Evaluate(manager, "frexp(8, e)");
    const CValueData e = Evaluate(manager, "e");
    EXPECT_EQ(e.Type(), VTYPE_DOUBLE);
    EXPECT_EQ(e.AsDouble(), 4.0);
    Evaluate(manager, "int whole = 0");
    Evaluate(manager, "modf(-2.5, whole)");
    EXPECT_EQ(Evaluate(manager, "whole").AsInt(), -2);
}

TEST(BuiltinMathErrors, NameTheKindTheFunctionAndItsArguments) {
    EXPECT_EQ(MathErrorText(BUILTIN_SQRT, {CValueData::Double(-1)}).rfind("_matherr : 引数が範囲以外です sqrt(arg1=-1,arg2=0) retval=", 0), 0u);
    EXPECT_EQ(MathErrorText(BUILTIN_LOG, {CValueData::Int(0)}), "_matherr : 引数が無効です log(arg1=0,arg2=0) retval=-inf");
    EXPECT_EQ(MathErrorText(BUILTIN_EXP, {CValueData::Int(1000)}), "_matherr : オーバーフローしました exp(arg1=1000,arg2=0) retval=inf");
    EXPECT_EQ(MathErrorText(BUILTIN_EXP, {CValueData::Int(-1000)}), "_matherr : 結果が小さすぎます exp(arg1=-1000,arg2=0) retval=0");
    EXPECT_EQ(MathErrorText(BUILTIN_POW, {CValueData::Int(0), CValueData::Int(-1)}), "_matherr : 引数が無効です pow(arg1=0,arg2=-1) retval=inf");
    EXPECT_EQ(MathErrorText(BUILTIN_SIN, {CValueData::Double(0.5)}), "no error");   // inexact never counts
}

TEST(BuiltinHostileArguments, ZeroBytesNeverShortenAPathOrCommand) {
    CValueData result;
    ASSERT_TRUE(RunBuiltin(BUILTIN_MKDIR, {Bytes("numora_nul_dir\0x", 16)}, result));
    EXPECT_EQ(result.AsInt(), -1);
    EXPECT_NE(access("numora_nul_dir", F_OK), 0);
    ASSERT_TRUE(RunBuiltin(BUILTIN_SYSTEM, {Bytes("true\0; touch numora_nul_file", 28)}, result));
    EXPECT_EQ(result.AsInt(), -1);
    ASSERT_TRUE(RunBuiltin(BUILTIN_ACCESS, {Bytes(".\0x", 3), CValueData::Int(0)}, result));
    EXPECT_EQ(result.AsInt(), 22);
    ASSERT_TRUE(RunBuiltin(BUILTIN_STRLEN, {Bytes("a\0b", 3)}, result));
    EXPECT_EQ(result.AsDword(), 1u);
}

TEST(BuiltinHostileArguments, HugeSizesAllocateNothingBlindly) {
    CValueData result;
    ASSERT_TRUE(RunBuiltin(BUILTIN_GETCWD, {CValueData::String("x"), CValueData::Int(2000000000)}, result));
    char expected[4096];
    ASSERT_NE(getcwd(expected, sizeof expected), nullptr);
    EXPECT_EQ(result.AsString().ToStdString(), expected);
    EXPECT_FALSE(RunBuiltin(BUILTIN_PRINTF, {CValueData::String("%2147483647d"), CValueData::Int(1)}, result));
}

TEST(BuiltinImplementationTable, EntriesCanBeMadeInert) {
    ReplaceBuiltin(BUILTIN_SYSTEM, builtin::Inert);
    CExpManager manager;
    ASSERT_TRUE(manager.Parse("system(\"touch numora_inert_probe\")"));
    CValueData result;
    const bool ran = manager.Execute(result);
    ReplaceBuiltin(BUILTIN_SYSTEM, nullptr);
    EXPECT_FALSE(ran);
    ASSERT_EQ(manager.ExecDiagnostics().size(), 1u);
    EXPECT_EQ(FormatDiagnostic(manager.ExecDiagnostics()[0]), "pos:0  関数の実行に失敗しました");
    EXPECT_NE(access("numora_inert_probe", F_OK), 0);
}

TEST(BuiltinStandardInput, GetsFailsWhenStandardInputReportsAnError) {
    FILE* const saved = stdin;
    stdin = std::fopen("/", "r");   // a directory: every read fails
    ASSERT_NE(stdin, nullptr);
    CValueData result;
    const bool ok = RunBuiltin(BUILTIN_GETS, {CValueData::String("keep")}, result);
    std::fclose(stdin);
    stdin = saved;
    EXPECT_FALSE(ok);
}
