#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/lexer/OperatorValues.h"

// Every operator of the language is one row of kOperators, and the row is the
// whole operator: its text, how it binds, what sets it apart from the others,
// how its operand types are checked and how it runs, and its value rule. The
// lexer recognises the text, the readers (engine/expression) order operators
// by the binding and re-code them by the row's columns, and CExpOperator
// checks and runs them; none of them knows an operator by name.

// ORDER OPERATORCODE: an operator's code is its row in kOperators.
enum OperatorCode : int8_t {
    OP_NONE = -1,   // no operator: a column that does not apply to its row
    OP_PRE_INC = 0,
    OP_PRE_DEC = 1,
    OP_POST_INC = 2,
    OP_POST_DEC = 3,
    OP_PLUS = 4,
    OP_MINUS = 5,
    OP_BITNOT = 6,
    OP_MUL = 7,
    OP_DIV = 8,
    OP_MOD = 9,
    OP_ADD = 10,
    OP_SUB = 11,
    OP_SHR = 12,
    OP_SHL = 13,
    OP_LE = 14,
    OP_LT = 15,
    OP_GE = 16,
    OP_GT = 17,
    OP_EQ = 18,
    OP_NE = 19,
    OP_XOR = 20,
    OP_AND = 21,
    OP_OR = 22,
    OP_COND = 23,
    OP_COLON = 24,
    OP_ASSIGN = 25,
    OP_COMMA = 26,
    OP_NOT = 27,
    OP_BITAND = 28,
    OP_BITOR = 29,
    OP_COUNT
};

// How tightly an operator binds, from the loosest to the tightest, as C
// orders its operators. A new level is one more name here: the rows name
// their levels, so nothing is renumbered.
enum class Level : uint8_t {
    // Where a "?" stands in the tree once it has held an operator back while
    // waiting for its ":": looser than everything, so it can be no
    // operand but where a row admits it.
    Waiting,
    Comma,
    Assignment,   // "=", and "?" with its ":"
    LogicalOr,
    LogicalAnd,
    BitOr,
    BitXor,
    BitAnd,
    Equality,
    Relational,
    Shift,
    Additive,
    Multiplicative,
    Unary,   // the prefix and postfix operators
};

// How the static result type follows from the operands' static types.
enum class ResultType : uint8_t { Operand, Common, Left, Bool, Branches, Last, None };

// The static check of the operand types.
enum class CheckRule : uint8_t {
    None,
    Variable,   // one numeric variable
    Numeric,
    Integer,
    BothNumeric,
    BothNumericOrString,
    BothInteger,
    Condition,    // three operands, the first numeric
    Assignment,   // a variable or an element, and a value it can take
};

// How the operator runs over its operand items (CExpOperator): a pure one
// evaluates its operands and applies its value rule; the others each have
// their own order of evaluation.
enum class Runs : uint8_t { Pure, Prefix, Postfix, Logical, Condition, Colon, Assignment, Comma };

// An operator's binding powers, as the rows of Lua's priority[]: an
// operator that arrives after an operand takes it from the operator pending
// before it only when its left power is greater than that one's right
// power. The left power is also the operator's level in the tree.
struct Binding {
    Level left;
    Level right;
};

// Equal powers group from the left: «a - b - c» is «(a - b) - c».
constexpr Binding LeftToRight(Level level) { return {level, level}; }
// A right power one level below the left groups from the right: «a = b = c»
// is «a = (b = c)». For a prefix or postfix operator it means that every
// binary operator after it applies it first, and another prefix or postfix
// operator does not; its left power, the tightest, takes no operand from an
// operator before it.
constexpr Binding RightToLeft(Level level) { return {level, static_cast<Level>(static_cast<int>(level) - 1)}; }

// A root operator that may stand as one operand of a row's operator whatever
// its level. The slot counts from the last operand, as the tree is built
// from its end.
struct Admits {
    uint8_t slot = 0;
    OperatorCode root = OP_NONE;
};

// The columns that only a few rows fill, named where they do.
struct Special {
    // The operator the text stands for after an operand: a sign adds or
    // subtracts there.
    OperatorCode afterOperand = OP_NONE;
    // The operator the text stands for after a variable ("++" is then
    // postfix); anywhere else the operator must stand before one.
    OperatorCode afterVariable = OP_NONE;
    // The operator this one closes: a ":" takes every operator back to the
    // "?" that waits for it, which then binds as its row says.
    OperatorCode closes = OP_NONE;
    Admits admits = {};
    // It stores into the variable its first operand names, so running a line
    // past it may change what its variables hold.
    bool writesVariable = false;
    // "&&" and "||": the value of the left operand that decides the result
    // without the right one, and what they make of both values.
    bool decidedBy = false;
    Predicate predicate = nullptr;
    // "++" and "--" (which run as Prefix or Postfix): the step they change
    // their variable by. A sign after them adds or subtracts, as after an
    // operand.
    Arithmetic step = nullptr;
};

struct OperatorDef {
    const char* text;
    OperatorCode code;
    uint8_t operands;   // 1 or 2; 3 for "?", 0 for ":"
    Binding binds;
    ResultType result;
    CheckRule check;
    Accepts accepts;   // the operand types it runs with; others fail the run
    Runs runs;
    ValueRule apply;   // pure operators only (OperatorValues.h)
    Special special;
};

namespace operator_table_rows {

using L = Level;
using RT = ResultType;
using CR = CheckRule;
using AC = Accepts;
using V = CValueData;

// ORDER OPERATORCODE. A row whose text an earlier row has (the postfix "++",
// the binary "+") is never recognised: it is reached only through that row's
// afterOperand or afterVariable.
inline constexpr auto kRows = std::to_array<OperatorDef>({
    // text, code, operands, binding; result type, check, accepted types, how it runs, value rule; special
    {"++", OP_PRE_INC, 1, RightToLeft(L::Unary), RT::Operand, CR::Variable, AC::Numeric, Runs::Prefix, nullptr,
     {.afterVariable = OP_POST_INC, .writesVariable = true, .step = &V::Add}},
    {"--", OP_PRE_DEC, 1, RightToLeft(L::Unary), RT::Operand, CR::Variable, AC::Numeric, Runs::Prefix, nullptr,
     {.afterVariable = OP_POST_DEC, .writesVariable = true, .step = &V::Sub}},
    {"++", OP_POST_INC, 1, RightToLeft(L::Unary), RT::Operand, CR::Variable, AC::Numeric, Runs::Postfix, nullptr,
     {.writesVariable = true, .step = &V::Add}},
    {"--", OP_POST_DEC, 1, RightToLeft(L::Unary), RT::Operand, CR::Variable, AC::Numeric, Runs::Postfix, nullptr,
     {.writesVariable = true, .step = &V::Sub}},
    {"+", OP_PLUS, 1, RightToLeft(L::Unary), RT::Operand, CR::Numeric, AC::Numeric, Runs::Pure, ApplyPlus,
     {.afterOperand = OP_ADD}},
    {"-", OP_MINUS, 1, RightToLeft(L::Unary), RT::Operand, CR::Numeric, AC::Numeric, Runs::Pure, ApplyNegate,
     {.afterOperand = OP_SUB}},
    {"~", OP_BITNOT, 1, RightToLeft(L::Unary), RT::Operand, CR::Integer, AC::Integer, Runs::Pure, ApplyBitNot, {}},
    {"*", OP_MUL, 2, LeftToRight(L::Multiplicative), RT::Common, CR::BothNumeric, AC::Numeric, Runs::Pure,
     ApplyArithmetic<&V::Mul>, {}},
    {"/", OP_DIV, 2, LeftToRight(L::Multiplicative), RT::Common, CR::BothNumeric, AC::Numeric, Runs::Pure,
     ApplyDivision<&V::Div>, {}},
    // "%" passes the static check like "*" but needs integers at run time.
    {"%", OP_MOD, 2, LeftToRight(L::Multiplicative), RT::Common, CR::BothNumeric, AC::Integer, Runs::Pure,
     ApplyDivision<&V::Mod>, {}},
    {"+", OP_ADD, 2, LeftToRight(L::Additive), RT::Common, CR::BothNumericOrString, AC::NumericOrString, Runs::Pure,
     ApplyArithmetic<&V::Add>, {}},
    {"-", OP_SUB, 2, LeftToRight(L::Additive), RT::Common, CR::BothNumeric, AC::Numeric, Runs::Pure,
     ApplyArithmetic<&V::Sub>, {}},
    {">>", OP_SHR, 2, LeftToRight(L::Shift), RT::Left, CR::BothInteger, AC::Integer, Runs::Pure,
     ApplyArithmetic<&V::ShiftRight>, {}},
    {"<<", OP_SHL, 2, LeftToRight(L::Shift), RT::Left, CR::BothInteger, AC::Integer, Runs::Pure,
     ApplyArithmetic<&V::ShiftLeft>, {}},
    {"<=", OP_LE, 2, LeftToRight(L::Relational), RT::Bool, CR::BothNumeric, AC::Numeric, Runs::Pure,
     ApplyComparison<&V::LessEqual>, {}},
    {"<", OP_LT, 2, LeftToRight(L::Relational), RT::Bool, CR::BothNumeric, AC::Numeric, Runs::Pure,
     ApplyComparison<&V::Less>, {}},
    {">=", OP_GE, 2, LeftToRight(L::Relational), RT::Bool, CR::BothNumeric, AC::Numeric, Runs::Pure,
     ApplyComparison<&V::GreaterEqual>, {}},
    {">", OP_GT, 2, LeftToRight(L::Relational), RT::Bool, CR::BothNumeric, AC::Numeric, Runs::Pure,
     ApplyComparison<&V::Greater>, {}},
    {"==", OP_EQ, 2, LeftToRight(L::Equality), RT::Bool, CR::BothNumericOrString, AC::NumericOrString, Runs::Pure,
     ApplyComparison<&V::Equal>, {}},
    {"!=", OP_NE, 2, LeftToRight(L::Equality), RT::Bool, CR::BothNumericOrString, AC::NumericOrString, Runs::Pure,
     ApplyComparison<&V::NotEqual>, {}},
    {"^", OP_XOR, 2, LeftToRight(L::BitXor), RT::Common, CR::BothInteger, AC::Integer, Runs::Pure,
     ApplyArithmetic<&V::BitXor>, {}},
    {"&&", OP_AND, 2, LeftToRight(L::LogicalAnd), RT::Bool, CR::BothNumeric, AC::Numeric, Runs::Logical, nullptr,
     {.predicate = &V::LogicalAnd}},
    {"||", OP_OR, 2, LeftToRight(L::LogicalOr), RT::Bool, CR::BothNumeric, AC::Numeric, Runs::Logical, nullptr,
     {.decidedBy = true, .predicate = &V::LogicalOr}},
    // The middle of a "?" may be a comma expression, as in C.
    {"?", OP_COND, 3, RightToLeft(L::Assignment), RT::Branches, CR::Condition, AC::Any, Runs::Condition, nullptr,
     {.admits = {1, OP_COMMA}}},
    // A ":" that closes no "?" is an operator without operands and no value.
    {":", OP_COLON, 0, RightToLeft(L::Assignment), RT::None, CR::None, AC::Any, Runs::Colon, nullptr,
     {.closes = OP_COND}},
    // The value of "=" may be a "?", even one that never found its ":", whose
    // own fault is then the one reported.
    {"=", OP_ASSIGN, 2, RightToLeft(L::Assignment), RT::Left, CR::Assignment, AC::Any, Runs::Assignment, nullptr,
     {.admits = {0, OP_COND}, .writesVariable = true}},
    {",", OP_COMMA, 2, LeftToRight(L::Comma), RT::Last, CR::None, AC::Any, Runs::Comma, nullptr, {}},
    {"!", OP_NOT, 1, RightToLeft(L::Unary), RT::Operand, CR::Numeric, AC::Numeric, Runs::Pure, ApplyNot, {}},
    {"&", OP_BITAND, 2, LeftToRight(L::BitAnd), RT::Common, CR::BothInteger, AC::Integer, Runs::Pure,
     ApplyArithmetic<&V::BitAnd>, {}},
    {"|", OP_BITOR, 2, LeftToRight(L::BitOr), RT::Common, CR::BothInteger, AC::Integer, Runs::Pure,
     ApplyArithmetic<&V::BitOr>, {}},
});

}  // namespace operator_table_rows

inline constexpr auto& kOperators = operator_table_rows::kRows;

// The row of an operator code, which is also the row a token's text matched.
constexpr const OperatorDef& OperatorRow(int code) { return kOperators[static_cast<size_t>(code)]; }

// Whether the operator only computes a value from its operands' values,
// by its value rule.
constexpr bool IsPure(const OperatorDef& row) { return row.runs == Runs::Pure; }

// "++" and "--", before or after their variable: the operators that step it.
constexpr bool IsIncrement(const OperatorDef& row) { return row.runs == Runs::Prefix || row.runs == Runs::Postfix; }

// The row whose text matches the start of the zero-terminated text s, the
// longer text when two do, as C reads its operators («a<<=b» is «<<» and
// «=»), and the length of that text; row -1 for none.
struct OperatorMatch {
    int row;
    int length;
};
OperatorMatch MatchOperator(const char* s);

namespace operator_table_detail {

constexpr bool SameText(const char* a, const char* b) { return std::string_view(a) == std::string_view(b); }

// Whether the row's text is recognised as this row: no earlier row has it.
constexpr bool IsRecognised(size_t row) {
    for (size_t earlier = 0; earlier < row; ++earlier) {
        if (SameText(kOperators[earlier].text, kOperators[row].text)) return false;
    }
    return true;
}

// Whether some row re-codes its text as this one.
constexpr bool IsRecodingOf(size_t row) {
    const int code = static_cast<int>(row);
    for (const OperatorDef& other : kOperators) {
        if (other.special.afterOperand == code || other.special.afterVariable == code) {
            return SameText(other.text, kOperators[row].text);
        }
    }
    return false;
}

constexpr bool RowsAreWhole() {
    for (size_t row = 0; row < kOperators.size(); ++row) {
        const OperatorDef& def = kOperators[row];
        const Special& special = def.special;
        // The rows follow the codes.
        if (def.code != static_cast<int>(row)) return false;
        // A text is recognised once; a second row with it is reached by re-coding.
        if (!IsRecognised(row) && !IsRecodingOf(row)) return false;
        // No operator holds its right operand tighter than its left.
        if (def.binds.right > def.binds.left) return false;
        // A pure operator takes one or two operands.
        if (IsPure(def) && def.operands != 1 && def.operands != 2) return false;
        if (special.afterOperand != OP_NONE && (def.operands != 1 || OperatorRow(special.afterOperand).operands != 2)) {
            return false;
        }
        // A text that is postfix after a variable is an increment either way.
        const OperatorCode postfix = special.afterVariable;
        if (postfix != OP_NONE && !(IsIncrement(def) && IsIncrement(OperatorRow(postfix)))) return false;
        if (IsIncrement(def) && !special.writesVariable) return false;
        if (special.admits.root != OP_NONE && special.admits.slot >= def.operands) return false;
        if (special.closes != OP_NONE && OperatorRow(special.closes).operands != 3) return false;
    }
    return true;
}

// The operator each row's text stands for after an operand.
inline constexpr std::array<uint8_t, kOperators.size()> kAfterOperand = [] {
    std::array<uint8_t, kOperators.size()> codes{};
    for (size_t row = 0; row < kOperators.size(); ++row) {
        const OperatorCode after = kOperators[row].special.afterOperand;
        codes[row] = static_cast<uint8_t>(after != OP_NONE ? static_cast<size_t>(after) : row);
    }
    return codes;
}();

// The operators that wait for another to close them: those some row closes.
inline constexpr std::array<bool, kOperators.size()> kOpens = [] {
    std::array<bool, kOperators.size()> opens{};
    for (const OperatorDef& row : kOperators) {
        if (row.special.closes != OP_NONE) opens[static_cast<size_t>(row.special.closes)] = true;
    }
    return opens;
}();

}  // namespace operator_table_detail

static_assert(kOperators.size() == OP_COUNT, "one row per operator code");
// Whether a row names the rule its way of running needs (a pure one its
// value rule, "++" its step, "&&" its predicate) is checked by a unit test:
// pointers to functions cannot be compared here in every build.
static_assert(operator_table_detail::RowsAreWhole(),
              "each row of kOperators sits at its code, and its columns agree with one another");

// The operator a text stands for after an operand: the signs stand for the
// addition and the subtraction, every other row for itself. Looked up, not
// tested: which operator comes is as random as the user's line.
constexpr int CodeAfterOperand(int row) { return operator_table_detail::kAfterOperand[static_cast<size_t>(row)]; }

// Whether the operator waits, once pending, for the operator that closes it
// (a "?" for its ":"), holding back every other that arrives.
constexpr bool Opens(int code) { return operator_table_detail::kOpens[static_cast<size_t>(code)]; }
