#include "engine/Diagnostics.h"

#include <cstdio>
#include <iterator>

namespace {

struct DiagRow {
    Diag id;
    int major;
    int minor;
    const char* text;
};

// ORDER DIAG: one row per name of the Diag list, in its order; every
// (major, minor) pair occurs once.
constexpr DiagRow kDiagnostics[] = {
    {Diag::SyntaxError, 1, 1, "構文エラー"},
    {Diag::UndefinedName, 1, 2, "未定義の識別子です"},
    {Diag::UnclosedComment, 2, 1, "対応するコメント終了コードがありません"},
    {Diag::BadNumber, 4, 1, "数値定数記述が誤っています"},
    {Diag::BadFraction, 5, 5, "分数定数値の記述が誤っています"},
    {Diag::CharEmpty, 6, 1, "定数値がありません"},
    {Diag::CharTruncated, 6, 2, "定数値を切り詰めました"},
    {Diag::CharUnclosed, 6, 3, "対応する引用符がありません"},
    {Diag::CharForbidden, 6, 4, "使用できない文字コードを検出しました"},
    {Diag::StringUnclosed, 7, 1, "対応する引用符がありません"},
    {Diag::StringForbidden, 7, 2, "使用できない文字コードを検出しました"},
    {Diag::StringBadEscape, 7, 3, "エスケープシーケンスが正しくありません"},
    {Diag::FunctionNameInUse, 9, 1, "この名称は既に使用されています"},
    {Diag::FunctionMissingParen, 9, 2, ") がありません"},
    {Diag::ParameterNeedsType, 9, 3, "パラメータには型指定子が必要です"},
    {Diag::BodyMissing, 9, 4, "式が必要です"},
    {Diag::VariadicNotLast, 9, 6, "可変長パラメータは最後でなければなりません"},
    {Diag::ArrayParameter, 9, 99, "現在は配列の引数は使用できません"},
    {Diag::CallNoArguments, 10, 1, "関数の引数がありません"},
    {Diag::CallMissingParen, 10, 2, ") がありません"},
    {Diag::CallTooManyArguments, 10, 3, "関数の引数の数が合っていません"},
    {Diag::ArgumentOmitted, 10, 4, "引数は省略できません"},
    {Diag::ArgumentNotVariable, 10, 5, "引数は変数でなければなりません"},
    {Diag::ArgumentTypeMismatch, 10, 6, "引数の型が合っていません"},
    {Diag::OperandTypeMismatch, 11, 6, "被演算子の型が合っていません"},
    {Diag::OperandNotVariable, 11, 7, "被演算子は変数でなければなりません"},
    {Diag::GroupEmpty, 12, 1, "式は省略できません"},
    {Diag::GroupMissingParen, 12, 2, ") がありません"},
    {Diag::BadSubscript, 15, 1, "添え字式が誤っています"},
    {Diag::MissingBracket, 15, 2, "] がありません"},
    {Diag::MissingOperand, 13, 1, "演算子に対応する被演算子がありません"},
    {Diag::MissingOperator, 13, 2, "演算子が不足しています"},
    {Diag::MissingIdentifier, 14, 1, "識別子がありません"},
    {Diag::VariableReservedName, 16, 8, "変数名に予約語を使用しています"},
    {Diag::VariableNameInUse, 16, 9, "この名称は既に使用されています"},
    {Diag::ReferenceUninitialized, 16, 10, "参照は初期化が必要です"},
    {Diag::BadReferenceInit, 16, 11, "参照の初期化が誤っています"},
    {Diag::ReferenceBindFailed, 16, 102, "参照の初期化に失敗しました"},
    {Diag::ArrayReservedName, 17, 8, "変数名に予約語を使用しています"},
    {Diag::ArrayNameInUse, 17, 9, "この名称は既に使用されています"},
    {Diag::BadArrayInitializer, 17, 10, "初期化式が正しくありません"},
    {Diag::ArraySizeNotConstant, 17, 11, nullptr},
    {Diag::BadArraySizes, 17, 102, "配列指定が誤っています"},
    {Diag::ArraySizeNotPositive, 17, 103, "配列のサイズが０以下です"},
    {Diag::ArrayTooLarge, 17, 104, "配列全体のサイズが大きすぎます"},
    {Diag::InitializerMissing, 18, 1, "初期化式が必要です"},
    {Diag::InitializerTypeMismatch, 18, 6, "初期化式の型が合っていません"},
    {Diag::ArrayListMissing, 19, 1, "配列初期化式リストが必要です"},
    {Diag::ArrayListTooDeep, 19, 2, "配列初期化式リストは使用できません"},
    {Diag::ArrayListNeeded, 19, 3, "配列初期化式リストが必要です"},
    {Diag::ArrayListTooLong, 19, 4, "配列初期化式が多すぎます"},
    {Diag::ArrayItemTypeMismatch, 19, 6, "初期化式の型が合っていません"},
    {Diag::ListItemMissing, 20, 1, "初期化式が必要です"},
    {Diag::ListMissingBrace, 20, 2, "} がありません"},
    {Diag::VariableNoEntity, 21, 103, "*実体の無い変数が参照されました"},
    {Diag::BadElementReference, 22, 3, "配列参照が誤っています"},
    {Diag::ElementOutOfRange, 22, 101, "誤った配列参照が行われました"},
    {Diag::ElementNoEntity, 22, 103, "*実体の無い変数が参照されました"},
    {Diag::ExecutionFault, 0, 100, "未定義の実行処理エラー"},
    {Diag::BuiltinTooFewArgs, 10, 101, "パラメータの数が合っていません"},
    {Diag::BuiltinBadArgType, 10, 102, "パラメータの型が合っていません"},
    {Diag::BuiltinNoMemory, 10, 103, "メモリが不足しています"},
    {Diag::BuiltinFailed, 10, 104, "関数の実行に失敗しました"},
    {Diag::BuiltinException, 10, 105, "関数の実行で例外が発生しました"},
    {Diag::UserFunctionCall, 10, 199, "ユーザ定義関数式は現在使用できません"},
    {Diag::DivideByZero, 11, 101, "０で除算しました"},
    {Diag::OperandCount, 11, 102, "被演算子の数が合っていません"},
    {Diag::BadOperand, 11, 103, "演算子の対象が不正です"},
    {Diag::OperatorNotImplemented, 11, 104, "未実装の演算子が使用されました"},
    {Diag::BadDimension, 15, 101, "次元指定が誤っています"},
};

static_assert(std::size(kDiagnostics) == static_cast<size_t>(Diag::Count));

constexpr bool RowsFollowTheList() {
    for (size_t i = 0; i < std::size(kDiagnostics); ++i) {
        if (kDiagnostics[i].id != static_cast<Diag>(i)) return false;
    }
    return true;
}
static_assert(RowsFollowTheList(), "the rows of kDiagnostics follow the order of Diag");

const DiagRow& RowOf(Diag diag) { return kDiagnostics[static_cast<size_t>(diag)]; }

}  // namespace

int DiagMajor(Diag diag) { return RowOf(diag).major; }
int DiagMinor(Diag diag) { return RowOf(diag).minor; }
const char* DiagText(Diag diag) { return RowOf(diag).text; }

std::string FormatDiagnostic(const CExpDiag& diag) {
    char buffer[160];
    if (const char* text = DiagText(diag.id)) {
        std::snprintf(buffer, sizeof buffer, "pos:%d  %s", diag.position, text);
    } else {
        std::snprintf(buffer, sizeof buffer, "pos:%d  未定義のメッセージ(%d.%d)", diag.position, diag.Major(),
                      diag.Minor());
    }
    return buffer;
}
