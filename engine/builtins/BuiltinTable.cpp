#include "engine/builtins/BuiltinTable.h"

#include <algorithm>
#include <iterator>

#include "value/TypeCode.h"

namespace {

constexpr FunctionParam In(int type) { return {type, false, false}; }
constexpr FunctionParam Out(int type) { return {type, true, false}; }
constexpr FunctionParam kVariadic{0, false, true};

constexpr BuiltinEffects kNone = BuiltinEffects::None;
constexpr BuiltinEffects kPassing = BuiltinEffects::Passing;
constexpr BuiltinEffects kLasting = BuiltinEffects::Lasting;

constexpr int kVoid = VTYPE_NONE;
constexpr int kInt = VTYPE_INT;
constexpr int kLong = VTYPE_LONG;
constexpr int kDword = VTYPE_DWORD;
constexpr int kDouble = VTYPE_DOUBLE;
constexpr int kString = VTYPE_STRING;

// ORDER BUILTIN; itoa and ltoa are the same conversion (int and long are
// both 32 bits).
constexpr BuiltinRow kBuiltins[] = {
    {BUILTIN_STRCAT, "strcat", kString, {Out(kString), In(kString)}, kNone, builtin::Strcat, "文字列の連結"},
    {BUILTIN_STRCMP, "strcmp", kInt, {In(kString), In(kString)}, kNone, builtin::Strcmp, "文字列の比較"},
    {BUILTIN_STRCPY, "strcpy", kString, {Out(kString), In(kString)}, kNone, builtin::Strcpy, "文字列のコピー"},
    {BUILTIN_STRLEN, "strlen", kInt, {In(kString)}, kNone, builtin::Strlen, "文字列長取得"},
    {BUILTIN_CGETS, "cgets", kString, {Out(kString)}, kLasting, builtin::Cgets, "文字列の直接コンソール入力"},
    {BUILTIN_GETS, "gets", kString, {Out(kString)}, kLasting, builtin::Gets, "文字列の入力"},
    {BUILTIN_CPUTS, "cputs", kInt, {In(kString)}, kLasting, builtin::Cputs, "文字列の直接コンソール出力"},
    {BUILTIN_PUTS, "puts", kInt, {In(kString)}, kPassing, builtin::Puts, "文字列の出力"},
    {BUILTIN_GETCH, "getch", kInt, {}, kLasting, builtin::Getch, "1文字の直接コンソール入力"},
    {BUILTIN_GETCHAR, "getchar", kInt, {}, kLasting, builtin::Getchar, "1文字の入力"},
    {BUILTIN_PUTCH, "putch", kInt, {In(kInt)}, kLasting, builtin::Putch, "1文字の直接コンソール出力"},
    {BUILTIN_PUTCHAR, "putchar", kInt, {In(kInt)}, kPassing, builtin::Putchar, "1文字の出力"},
    {BUILTIN_ACCESS, "access", kInt, {In(kString), In(kInt)}, kPassing, builtin::Access, "ファイル属性の判定"},
    {BUILTIN_CHDIR, "chdir", kInt, {In(kString)}, kLasting, builtin::Chdir, "カレントディレクトリの変更"},
    {BUILTIN_CHMOD, "chmod", kInt, {In(kString), In(kInt)}, kLasting, builtin::Chmod, "ファイル属性の変更"},
    {BUILTIN_MKDIR, "mkdir", kInt, {In(kString)}, kLasting, builtin::Mkdir, "ディレクトリの作成"},
    {BUILTIN_RMDIR, "rmdir", kInt, {In(kString)}, kLasting, builtin::Rmdir, "ディレクトリの削除"},
    {BUILTIN_REMOVE, "remove", kInt, {In(kString)}, kLasting, builtin::Remove, "ファイルの削除"},
    {BUILTIN_RENAME, "rename", kInt, {In(kString), In(kString)}, kLasting, builtin::Rename, "ファイル名の変更"},
    {BUILTIN_GETCWD, "getcwd", kString, {Out(kString), In(kInt)}, kPassing, builtin::Getcwd, "カレントディレクトリの取得"},
    {BUILTIN_GETENV, "getenv", kString, {In(kString)}, kPassing, builtin::Getenv, "環境変数の取得"},
    {BUILTIN_PUTENV, "putenv", kInt, {In(kString), In(kString)}, kLasting, builtin::Putenv, "環境変数の設定"},
    {BUILTIN_ATOI, "atoi", kInt, {In(kString)}, kNone, builtin::Atoi, "文字列を整数値に変換"},
    {BUILTIN_ATOL, "atol", kLong, {In(kString)}, kNone, builtin::Atol, "文字列を32bit長整数値に変換"},
    {BUILTIN_ATOF, "atof", kDouble, {In(kString)}, kNone, builtin::Atof, "文字列を浮動小数点数値に変換"},
    {BUILTIN_ITOA, "itoa", kString, {In(kInt), Out(kString), In(kInt)}, kNone, builtin::Itoa, "整数値を文字列に変換"},
    {BUILTIN_LTOA, "ltoa", kString, {In(kInt), Out(kString), In(kInt)}, kNone, builtin::Itoa, "32bit長整数値を文字列に変換"},
    {BUILTIN_ULTOA, "ultoa", kString, {In(kDword), Out(kString), In(kInt)}, kNone, builtin::Ultoa, "32bit長符号なし整数値を文字列に変換"},
    {BUILTIN_GCVT, "gcvt", kString, {In(kDouble), In(kInt), Out(kString)}, kNone, builtin::Gcvt, "浮動小数点数値を文字列に変換"},
    {BUILTIN_ABS, "abs", kInt, {In(kInt)}, kNone, builtin::Abs, "整数の絶対値を返す"},
    {BUILTIN_ACOS, "acos", kDouble, {In(kDouble)}, kNone, builtin::Acos, "アーク・コサイン値を返す"},
    {BUILTIN_ASIN, "asin", kDouble, {In(kDouble)}, kNone, builtin::Asin, "アーク・サイン値を返す"},
    {BUILTIN_ATAN, "atan", kDouble, {In(kDouble)}, kNone, builtin::Atan, "アーク・タンジェント値を返す"},
    {BUILTIN_ATAN2, "atan2", kDouble, {In(kDouble), In(kDouble)}, kNone, builtin::Atan2, "y/xのアーク・タンジェント値を返す"},
    {BUILTIN_CEIL, "ceil", kDouble, {In(kDouble)}, kNone, builtin::Ceil, "小数点以下の切り上げ"},
    {BUILTIN_COS, "cos", kDouble, {In(kDouble)}, kNone, builtin::Cos, "コサイン値を返す"},
    {BUILTIN_COSH, "cosh", kDouble, {In(kDouble)}, kNone, builtin::Cosh, "双曲線余弦値を返す"},
    {BUILTIN_EXP, "exp", kDouble, {In(kDouble)}, kNone, builtin::Exp, "指数eのx乗値を返す"},
    {BUILTIN_FABS, "fabs", kDouble, {In(kDouble)}, kNone, builtin::Fabs, "浮動小数点数の絶対値を返す"},
    {BUILTIN_FLOOR, "floor", kDouble, {In(kDouble)}, kNone, builtin::Floor, "小数点以下の切り捨て"},
    {BUILTIN_FMOD, "fmod", kDouble, {In(kDouble), In(kDouble)}, kNone, builtin::Fmod, "xをyで割った余りを返す"},
    {BUILTIN_FREXP, "frexp", kDouble, {In(kDouble), Out(kInt)}, kNone, builtin::Frexp, "浮動小数点数の仮数部と少数部への分割"},
    {BUILTIN_HYPOT, "hypot", kDouble, {In(kDouble), In(kDouble)}, kNone, builtin::Hypot, "直角三角形の斜辺長を返す"},
    {BUILTIN_LABS, "labs", kLong, {In(kLong)}, kNone, builtin::Labs, "32bit長整数値の絶対値を返す"},
    {BUILTIN_LDEXP, "ldexp", kDouble, {In(kDouble), In(kInt)}, kNone, builtin::Ldexp, "x×2のn乗を返す"},
    {BUILTIN_LOG, "log", kDouble, {In(kDouble)}, kNone, builtin::Log, "自然対数値を返す"},
    {BUILTIN_LOG10, "log10", kDouble, {In(kDouble)}, kNone, builtin::Log10, "常用対数値を返す"},
    {BUILTIN_MAX, "max", kDouble, {In(kDouble), In(kDouble)}, kNone, builtin::Max, "大きい方の値を返す"},
    {BUILTIN_MIN, "min", kDouble, {In(kDouble), In(kDouble)}, kNone, builtin::Min, "小さい方の値を返す"},
    {BUILTIN_MODF, "modf", kDouble, {In(kDouble), Out(kDouble)}, kNone, builtin::Modf, "浮動小数点数の少数部と整数部への分割"},
    {BUILTIN_POW, "pow", kDouble, {In(kDouble), In(kDouble)}, kNone, builtin::Pow, "xのy乗値を返す"},
    {BUILTIN_SIN, "sin", kDouble, {In(kDouble)}, kNone, builtin::Sin, "サイン値を返す"},
    {BUILTIN_SINH, "sinh", kDouble, {In(kDouble)}, kNone, builtin::Sinh, "双曲線正弦値を返す"},
    {BUILTIN_SQRT, "sqrt", kDouble, {In(kDouble)}, kNone, builtin::Sqrt, "平方根値を返す"},
    {BUILTIN_TAN, "tan", kDouble, {In(kDouble)}, kNone, builtin::Tan, "タンジェント値を返す"},
    {BUILTIN_TANH, "tanh", kDouble, {In(kDouble)}, kNone, builtin::Tanh, "双曲線正接値を返す"},
    {BUILTIN_RAND, "rand", kInt, {}, kLasting, builtin::Rand, "乱数の生成"},
    {BUILTIN_SRAND, "srand", kVoid, {In(kDword)}, kLasting, builtin::Srand, "乱数の開始点設定"},
    {BUILTIN_SYSTEM, "system", kInt, {In(kString)}, kLasting, builtin::System, "コマンドの実行"},
    {BUILTIN_PRINTF, "printf", kInt, {In(kString), kVariadic}, kPassing, builtin::Printf, "書式付き出力"},
};

static_assert(std::size(kBuiltins) == BUILTIN_COUNT, "one row per built-in");

constexpr bool RowsFollowTheIds() {
    for (size_t i = 0; i < std::size(kBuiltins); ++i) {
        if (kBuiltins[i].id != static_cast<BuiltinId>(i)) return false;
    }
    return true;
}
static_assert(RowsFollowTheIds(), "the rows of kBuiltins follow the order of BuiltinId");
static_assert(BUILTIN_COUNT <= CExpFunction::kUserFunction, "a built-in's number is never a user function's");

// The implementations a host put in place of the table's; null for none.
BuiltinFn replacements[BUILTIN_COUNT] = {};

}  // namespace

// The parameters end at the first empty entry.
std::span<const FunctionParam> BuiltinRow::Params() const {
    size_t count = 0;
    while (count < parameters.size() && (parameters[count].type != kVoid || parameters[count].variadic)) ++count;
    return std::span<const FunctionParam>(parameters).first(count);
}

bool BuiltinRow::IsPure() const {
    const auto byValueNumber = [](const FunctionParam& param) { return !param.byReference && IsNumericType(param.type); };
    const std::span<const FunctionParam> params = Params();
    return effects == BuiltinEffects::None && IsNumericType(resultType) &&
           std::all_of(params.begin(), params.end(), byValueNumber);
}

std::span<const BuiltinRow> BuiltinTable() { return kBuiltins; }

BuiltinFn BuiltinImplementation(int number) {
    const auto index = static_cast<size_t>(number);
    return replacements[index] != nullptr ? replacements[index] : kBuiltins[index].implementation;
}

void ReplaceBuiltin(BuiltinId id, BuiltinFn implementation) { replacements[id] = implementation; }
