#include "engine/builtins/BuiltinTable.h"

#include "value/TypeCode.h"

namespace {

constexpr FunctionParam In(int type) { return {type, false, false}; }
constexpr FunctionParam Out(int type) { return {type, true, false}; }
constexpr FunctionParam kVariadic{0, false, true};

constexpr int kVoid = VTYPE_NONE;
constexpr int kInt = VTYPE_INT;
constexpr int kLong = VTYPE_LONG;
constexpr int kDword = VTYPE_DWORD;
constexpr int kDouble = VTYPE_DOUBLE;
constexpr int kString = VTYPE_STRING;

}  // namespace

const std::vector<BuiltinRow>& BuiltinTable() {
    // ORDER BUILTIN
    static const std::vector<BuiltinRow> rows = {
        {"strcat", kString, {Out(kString), In(kString)}, "文字列の連結"},
        {"strcmp", kInt, {In(kString), In(kString)}, "文字列の比較"},
        {"strcpy", kString, {Out(kString), In(kString)}, "文字列のコピー"},
        {"strlen", kInt, {In(kString)}, "文字列長取得"},
        {"cgets", kString, {Out(kString)}, "文字列の直接コンソール入力"},
        {"gets", kString, {Out(kString)}, "文字列の入力"},
        {"cputs", kInt, {In(kString)}, "文字列の直接コンソール出力"},
        {"puts", kInt, {In(kString)}, "文字列の出力"},
        {"getch", kInt, {}, "1文字の直接コンソール入力"},
        {"getchar", kInt, {}, "1文字の入力"},
        {"putch", kInt, {In(kInt)}, "1文字の直接コンソール出力"},
        {"putchar", kInt, {In(kInt)}, "1文字の出力"},
        {"access", kInt, {In(kString), In(kInt)}, "ファイル属性の判定"},
        {"chdir", kInt, {In(kString)}, "カレントディレクトリの変更"},
        {"chmod", kInt, {In(kString), In(kInt)}, "ファイル属性の変更"},
        {"mkdir", kInt, {In(kString)}, "ディレクトリの作成"},
        {"rmdir", kInt, {In(kString)}, "ディレクトリの削除"},
        {"remove", kInt, {In(kString)}, "ファイルの削除"},
        {"rename", kInt, {In(kString), In(kString)}, "ファイル名の変更"},
        {"getcwd", kString, {Out(kString), In(kInt)}, "カレントディレクトリの取得"},
        {"getenv", kString, {In(kString)}, "環境変数の取得"},
        {"putenv", kInt, {In(kString), In(kString)}, "環境変数の設定"},
        {"atoi", kInt, {In(kString)}, "文字列を整数値に変換"},
        {"atol", kLong, {In(kString)}, "文字列を32bit長整数値に変換"},
        {"atof", kDouble, {In(kString)}, "文字列を浮動小数点数値に変換"},
        {"itoa", kString, {In(kInt), Out(kString), In(kInt)}, "整数値を文字列に変換"},
        {"ltoa", kString, {In(kInt), Out(kString), In(kInt)}, "32bit長整数値を文字列に変換"},
        {"ultoa", kString, {In(kDword), Out(kString), In(kInt)}, "32bit長符号なし整数値を文字列に変換"},
        {"gcvt", kString, {In(kDouble), In(kInt), Out(kString)}, "浮動小数点数値を文字列に変換"},
        {"abs", kInt, {In(kInt)}, "整数の絶対値を返す"},
        {"acos", kDouble, {In(kDouble)}, "アーク・コサイン値を返す"},
        {"asin", kDouble, {In(kDouble)}, "アーク・サイン値を返す"},
        {"atan", kDouble, {In(kDouble)}, "アーク・タンジェント値を返す"},
        {"atan2", kDouble, {In(kDouble), In(kDouble)}, "y/xのアーク・タンジェント値を返す"},
        {"ceil", kDouble, {In(kDouble)}, "小数点以下の切り上げ"},
        {"cos", kDouble, {In(kDouble)}, "コサイン値を返す"},
        {"cosh", kDouble, {In(kDouble)}, "双曲線余弦値を返す"},
        {"exp", kDouble, {In(kDouble)}, "指数eのx乗値を返す"},
        {"fabs", kDouble, {In(kDouble)}, "浮動小数点数の絶対値を返す"},
        {"floor", kDouble, {In(kDouble)}, "小数点以下の切り捨て"},
        {"fmod", kDouble, {In(kDouble), In(kDouble)}, "xをyで割った余りを返す"},
        {"frexp", kDouble, {In(kDouble), Out(kInt)}, "浮動小数点数の仮数部と少数部への分割"},
        {"hypot", kDouble, {In(kDouble), In(kDouble)}, "直角三角形の斜辺長を返す"},
        {"labs", kLong, {In(kLong)}, "32bit長整数値の絶対値を返す"},
        {"ldexp", kDouble, {In(kDouble), In(kInt)}, "x×2のn乗を返す"},
        {"log", kDouble, {In(kDouble)}, "自然対数値を返す"},
        {"log10", kDouble, {In(kDouble)}, "常用対数値を返す"},
        {"max", kDouble, {In(kDouble), In(kDouble)}, "大きい方の値を返す"},
        {"min", kDouble, {In(kDouble), In(kDouble)}, "小さい方の値を返す"},
        {"modf", kDouble, {In(kDouble), Out(kDouble)}, "浮動小数点数の少数部と整数部への分割"},
        {"pow", kDouble, {In(kDouble), In(kDouble)}, "xのy乗値を返す"},
        {"sin", kDouble, {In(kDouble)}, "サイン値を返す"},
        {"sinh", kDouble, {In(kDouble)}, "双曲線正弦値を返す"},
        {"sqrt", kDouble, {In(kDouble)}, "平方根値を返す"},
        {"tan", kDouble, {In(kDouble)}, "タンジェント値を返す"},
        {"tanh", kDouble, {In(kDouble)}, "双曲線正接値を返す"},
        {"rand", kInt, {}, "乱数の生成"},
        {"srand", kVoid, {In(kDword)}, "乱数の開始点設定"},
        {"system", kInt, {In(kString)}, "コマンドの実行"},
        {"printf", kInt, {In(kString), kVariadic}, "書式付き出力"},
    };
    return rows;
}
