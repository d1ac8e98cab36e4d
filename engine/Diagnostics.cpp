#include "engine/Diagnostics.h"

#include <cstdio>
#include <iterator>

namespace {

struct DiagRow {
    Diag id;
    int major;
    int minor;
    // The design's message, shown wherever a program may read it.
    const char* text;
    // Its meaning in English, for a person at a terminal (and the manual
    // page, which a test holds to these words). "{word}" stands for the
    // text at the diagnostic's position.
    const char* english;
};

// ORDER DIAG: one row per name of the Diag list, in its order; a (major,
// minor) pair occurs once, but for the rows of 10.104, which differ only in
// their English.
constexpr DiagRow kDiagnostics[] = {
    {Diag::SyntaxError, 1, 1, "構文エラー",
     "syntax error"},
    {Diag::UndefinedName, 1, 2, "未定義の識別子です",
     "undefined name \"{name}\""},
    {Diag::UnclosedComment, 2, 1, "対応するコメント終了コードがありません",
     "a comment opened with /* has no closing */"},
    {Diag::BadNumber, 4, 1, "数値定数記述が誤っています",
     "badly written number \"{number}\""},
    {Diag::BadFraction, 5, 5, "分数定数値の記述が誤っています",
     "badly written fraction: digits must follow the \"$\""},
    {Diag::CharEmpty, 6, 1, "定数値がありません",
     "empty character constant ''"},
    {Diag::CharTruncated, 6, 2, "定数値を切り詰めました",
     "a character constant holds more than one character; only the first is kept"},
    {Diag::CharUnclosed, 6, 3, "対応する引用符がありません",
     "a character constant has no closing '"},
    {Diag::CharForbidden, 6, 4, "使用できない文字コードを検出しました",
     "a character constant holds a control character or a byte outside ASCII"},
    {Diag::StringUnclosed, 7, 1, "対応する引用符がありません",
     "a string has no closing \""},
    {Diag::StringForbidden, 7, 2, "使用できない文字コードを検出しました",
     "a string holds a control character; write it as an escape sequence such as \\t"},
    {Diag::StringBadEscape, 7, 3, "エスケープシーケンスが正しくありません",
     "a backslash in a string starts no known escape sequence"},
    {Diag::FunctionNameInUse, 9, 1, "この名称は既に使用されています",
     "the name \"{name}\" is already in use"},
    {Diag::FunctionMissingParen, 9, 2, ") がありません",
     "missing \")\" after the parameters"},
    {Diag::ParameterNeedsType, 9, 3, "パラメータには型指定子が必要です",
     "a parameter needs a type, as in int f(int a) a"},
    {Diag::BodyMissing, 9, 4, "式が必要です",
     "a function definition needs an expression after its parameters"},
    {Diag::VariadicNotLast, 9, 6, "可変長パラメータは最後でなければなりません",
     "the variadic parameter ... must be the last one"},
    {Diag::ArrayParameter, 9, 99, "現在は配列の引数は使用できません",
     "a parameter cannot be an array"},
    {Diag::CallNoArguments, 10, 1, "関数の引数がありません",
     "the function \"{name}\" is used without its argument list"},
    {Diag::CallMissingParen, 10, 2, ") がありません",
     "missing \")\" at the end of the call"},
    {Diag::CallTooManyArguments, 10, 3, "関数の引数の数が合っていません",
     "too many arguments for the function"},
    {Diag::ArgumentOmitted, 10, 4, "引数は省略できません",
     "too few arguments: an argument cannot be left out"},
    {Diag::ArgumentNotVariable, 10, 5, "引数は変数でなければなりません",
     "the function stores a result in this argument, so it must be a variable"},
    {Diag::ArgumentTypeMismatch, 10, 6, "引数の型が合っていません",
     "an argument has the wrong type"},
    {Diag::OperandTypeMismatch, 11, 6, "被演算子の型が合っていません",
     "the operator does not take operands of these types"},
    {Diag::OperandNotVariable, 11, 7, "被演算子は変数でなければなりません",
     "the operand must be a variable"},
    {Diag::GroupEmpty, 12, 1, "式は省略できません",
     "empty parentheses: an expression is needed inside"},
    {Diag::GroupMissingParen, 12, 2, ") がありません",
     "missing \")\""},
    {Diag::BadSubscript, 15, 1, "添え字式が誤っています",
     "a subscript or array size is missing or malformed"},
    {Diag::MissingBracket, 15, 2, "] がありません",
     "missing \"]\""},
    {Diag::MissingOperand, 13, 1, "演算子に対応する被演算子がありません",
     "an operator is missing an operand"},
    {Diag::MissingOperator, 13, 2, "演算子が不足しています",
     "two operands follow each other without an operator"},
    {Diag::MissingIdentifier, 14, 1, "識別子がありません",
     "a name is needed here"},
    {Diag::VariableReservedName, 16, 8, "変数名に予約語を使用しています",
     "the word \"{word}\" is reserved and cannot be a name"},
    {Diag::VariableNameInUse, 16, 9, "この名称は既に使用されています",
     "the name \"{name}\" is already in use"},
    {Diag::ReferenceUninitialized, 16, 10, "参照は初期化が必要です",
     "a reference must be bound in its declaration, as in int &r = a"},
    {Diag::BadReferenceInit, 16, 11, "参照の初期化が誤っています",
     "a reference can only be bound to a variable of its own type"},
    {Diag::ReferenceBindFailed, 16, 102, "参照の初期化に失敗しました",
     "the variable has no value for the reference to share"},
    {Diag::ArrayReservedName, 17, 8, "変数名に予約語を使用しています",
     "the word \"{word}\" is reserved and cannot be a name"},
    {Diag::ArrayNameInUse, 17, 9, "この名称は既に使用されています",
     "the name \"{name}\" is already in use"},
    {Diag::BadArrayInitializer, 17, 10, "初期化式が正しくありません",
     "an array size is not an integer, or the initializer does not fit the array"},
    {Diag::ArraySizeNotConstant, 17, 11, nullptr,
     "an array size must be a constant"},
    {Diag::BadArraySizes, 17, 102, "配列指定が誤っています",
     "an array size could not be computed"},
    {Diag::ArraySizeNotPositive, 17, 103, "配列のサイズが０以下です",
     "an array size is 0 or negative"},
    {Diag::ArrayTooLarge, 17, 104, "配列全体のサイズが大きすぎます",
     "the array would have more than 65536 elements"},
    {Diag::InitializerMissing, 18, 1, "初期化式が必要です",
     "an initial value is needed after \"=\""},
    {Diag::InitializerTypeMismatch, 18, 6, "初期化式の型が合っていません",
     "the initial value has the wrong type"},
    {Diag::ArrayListMissing, 19, 1, "配列初期化式リストが必要です",
     "an array needs a list in braces as its initial value"},
    {Diag::ArrayListTooDeep, 19, 2, "配列初期化式リストは使用できません",
     "the braces are nested deeper than the array has dimensions"},
    {Diag::ArrayListNeeded, 19, 3, "配列初期化式リストが必要です",
     "a list in braces is needed here for the array's shape"},
    {Diag::ArrayListTooLong, 19, 4, "配列初期化式が多すぎます",
     "too many initial values for the array"},
    {Diag::ArrayItemTypeMismatch, 19, 6, "初期化式の型が合っていません",
     "the initial value has the wrong type"},
    {Diag::ListItemMissing, 20, 1, "初期化式が必要です",
     "an initial value is missing in the list"},
    {Diag::ListMissingBrace, 20, 2, "} がありません",
     "missing \"}\""},
    {Diag::VariableNoEntity, 21, 103, "*実体の無い変数が参照されました",
     "the name refers to a variable or an array that has no storage"},
    {Diag::BadElementReference, 22, 3, "配列参照が誤っています",
     "badly written array element"},
    {Diag::ElementOutOfRange, 22, 101, "誤った配列参照が行われました",
     "a subscript is out of range, or the number of subscripts does not match the array's dimensions"},
    {Diag::ElementNoEntity, 22, 103, "*実体の無い変数が参照されました",
     "the name refers to a variable or an array that has no storage"},
    {Diag::ExecutionFault, 0, 100, "未定義の実行処理エラー",
     "a part of the line failed to run"},
    {Diag::BuiltinTooFewArgs, 10, 101, "パラメータの数が合っていません",
     "printf has fewer arguments than its format needs"},
    {Diag::BuiltinBadArgType, 10, 102, "パラメータの型が合っていません",
     "an argument does not fit the function or its printf conversion"},
    {Diag::BuiltinNoMemory, 10, 103, "メモリが不足しています",
     "the function ran out of memory"},
    {Diag::BuiltinFailed, 10, 104, "関数の実行に失敗しました",
     "the function failed"},
    {Diag::BuiltinFailedLogged, 10, 104, "関数の実行に失敗しました",
     "the function failed; the log file numora0.log beside the program says why"},
    {Diag::BuiltinCancelled, 10, 104, "関数の実行に失敗しました",
     "Ctrl-C cancelled the call"},
    {Diag::BuiltinException, 10, 105, "関数の実行で例外が発生しました",
     "an argument is outside the function's domain (a math error, an invalid radix or size)"},
    {Diag::UserFunctionCall, 10, 199, "ユーザ定義関数式は現在使用できません",
     "a user-defined function cannot be called; only built-ins run"},
    {Diag::DivideByZero, 11, 101, "０で除算しました",
     "division by zero"},
    {Diag::OperandCount, 11, 102, "被演算子の数が合っていません",
     "an operator got the wrong number of operands"},
    {Diag::BadOperand, 11, 103, "演算子の対象が不正です",
     "the operator cannot work on the type of this operand"},
    {Diag::OperatorNotImplemented, 11, 104, "未実装の演算子が使用されました",
     "the operator is not implemented"},
    {Diag::BadDimension, 15, 101, "次元指定が誤っています",
     "the subscripts do not fit the array's dimensions"},
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
const char* DiagEnglish(Diag diag) { return RowOf(diag).english; }

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
