#include "engine/CQuickEvaluator.h"

#include <array>
#include <span>
#include <vector>

#include "engine/Builtins.h"
#include "engine/CExpFunction.h"
#include "engine/CExpNumConst.h"
#include "engine/CExpScope.h"
#include "engine/OperatorTable.h"
#include "engine/ParseHelpers.h"
#include "value/TypeCode.h"

namespace {

// The full parser refuses lines nested deeper than CExpression::kMaxDepth
// levels. Every level of a tree needs at least one token of the line, and
// the evaluator takes one step to each token, so a line read in fewer steps
// than that bound cannot reach it; longer lines are left to the full parser,
// which knows the bound exactly.
constexpr int kMaxSteps = 512;

// The built-ins that compute a number from numbers and do nothing else: no
// output argument, no state, no log record. A math error makes them fail,
// which only declines the line.
constexpr auto kIsPure = [] {
    std::array<bool, BUILTIN_COUNT> pure{};
    for (BuiltinId id : {BUILTIN_ABS,   BUILTIN_LABS,  BUILTIN_ACOS, BUILTIN_ASIN, BUILTIN_ATAN,  BUILTIN_ATAN2,
                         BUILTIN_CEIL,  BUILTIN_COS,   BUILTIN_COSH, BUILTIN_EXP,  BUILTIN_FABS,  BUILTIN_FLOOR,
                         BUILTIN_FMOD,  BUILTIN_HYPOT, BUILTIN_LDEXP, BUILTIN_LOG, BUILTIN_LOG10, BUILTIN_MAX,
                         BUILTIN_MIN,   BUILTIN_POW,   BUILTIN_SIN,  BUILTIN_SINH, BUILTIN_SQRT,  BUILTIN_TAN,
                         BUILTIN_TANH}) {
        pure[id] = true;
    }
    return pure;
}();

bool IsPure(int number) { return number >= 0 && number < BUILTIN_COUNT && kIsPure[number]; }

// The rows of the binary operators the evaluator computes.
std::array<OperatorDef, 5> BinaryRows() {
    std::array<OperatorDef, 5> rows{};
    const int codes[] = {OP_ADD, OP_SUB, OP_MUL, OP_DIV, OP_MOD};
    for (size_t i = 0; i < rows.size(); ++i) FindOperator(codes[i], rows[i]);
    return rows;
}

const std::array<OperatorDef, 5> kBinaryRows = BinaryRows();

// The binary operator a matched operator text stands for after an operand;
// nullptr for the operators left to the full parser.
const OperatorDef* BinaryOperator(const OperatorDef& matched) {
    switch (matched.code) {
        case OP_PLUS: return &kBinaryRows[0];
        case OP_MINUS: return &kBinaryRows[1];
        case OP_MUL: return &kBinaryRows[2];
        case OP_DIV: return &kBinaryRows[3];
        case OP_MOD: return &kBinaryRows[4];
        default: return nullptr;
    }
}

// The divisor test of "/" and "%", as the operators make it.
bool IsZero(const CValueData& value) {
    return IsIntegerType(value.Type()) ? value.AsInt() == 0 : value.AsDouble() == 0.0;
}

// Applies a binary operator; false where the operator would report a
// diagnostic.
bool Apply(int code, CValueData& left, const CValueData& right) {
    switch (code) {
        case OP_ADD: left = left.Add(right); return true;
        case OP_SUB: left = left.Sub(right); return true;
        case OP_MUL: left = left.Mul(right); return true;
        case OP_DIV:
            if (IsZero(right)) return false;
            left = left.Div(right);
            return true;
        case OP_MOD:
            if (IsZero(right) || !IsIntegerType(left.Type()) || !IsIntegerType(right.Type())) return false;
            left = left.Mod(right);
            return true;
        default: return false;
    }
}

}  // namespace

// Between tokens the cursor always stands on the next token (or at the end
// of the line): every step over a token moves over the blanks after it.
bool CQuickEvaluator::Evaluate(const std::string& text, CValueData& result) {
    text_ = &text;
    source_ = CExpSource{};
    steps_ = 0;
    values_.clear();
    pending_.clear();
    if (!SkipToToken() || !Expression() || !AtEnd(source_, text)) return false;
    result = std::move(values_.back());
    return true;
}

// Moves over blanks and comments to the next token; false when an unclosed
// comment was met or the line is too long for the evaluator.
inline bool CQuickEvaluator::SkipToToken() {
    if (++steps_ > kMaxSteps) return false;
    // An unclosed comment, the one fault skipping can record, moves the
    // cursor to the end of the line.
    return !SkipBlanks(source_, *text_) || source_.level == 0;
}

inline bool CQuickEvaluator::Advance(int count) {
    source_.position += count;
    return SkipToToken();
}

inline const OperatorDef* CQuickEvaluator::BinaryAtCursor() const {
    const size_t at = static_cast<size_t>(source_.position);
    const OperatorDef* matched = MatchOperator(text_->data() + at, text_->size() - at);
    return matched != nullptr ? BinaryOperator(*matched) : nullptr;
}

// Applies the operator on top of the pending stack to the values on top of
// the value stack.
inline bool CQuickEvaluator::Reduce() {
    const Pending op = pending_.back();
    pending_.pop_back();
    CValueData& operand = values_[values_.size() - (op.unary ? 1 : 2)];
    if (op.unary) {
        operand = op.code == OP_MINUS ? operand.Negate() : operand.Plus();
        return true;
    }
    const bool applied = Apply(op.code, operand, values_.back());
    values_.pop_back();
    return applied;
}

// Reads one expression up to the end of the line, a "," or a ")" that it
// does not open itself, and leaves its value on top of the value stack.
// Operands and operators are read in turn; an operator first applies the
// pending ones that bind at least as tightly (the binary operators group
// from the left, the signs bind tightest of all), and a group's operators
// are applied when its ")" arrives.
bool CQuickEvaluator::Expression() {
    const size_t base = pending_.size();
    bool wantOperand = true;
    for (;;) {
        if (AtEnd(source_, *text_) && wantOperand) return false;
        const std::string& text = *text_;
        const unsigned char c = CurrentChar(source_, text);
        if (wantOperand) {
            if (c == '(') {
                pending_.push_back({kGroup, 0, false});
                if (!Advance(1)) return false;
                continue;
            }
            if (c == '+' || c == '-') {
                // "++" and "--" are increments, which need a variable.
                const size_t at = static_cast<size_t>(source_.position);
                const OperatorDef* sign = MatchOperator(text.data() + at, text.size() - at);
                if (sign->code != OP_PLUS && sign->code != OP_MINUS) return false;
                pending_.push_back({sign->code, sign->precedence, true});
                if (!Advance(1)) return false;
                continue;
            }
            if (!Operand()) return false;
            wantOperand = false;
            continue;
        }
        const bool closes = c == ')';
        if (AtEnd(source_, text) || closes || c == ',') {
            while (pending_.size() > base && pending_.back().code != kGroup) {
                if (!Reduce()) return false;
            }
            // The end of the expression: the caller decides whether what
            // follows belongs there. A "," or the end inside a group does not.
            if (pending_.size() == base) return true;
            if (!closes) return false;
            pending_.pop_back();
            if (!Advance(1)) return false;
            continue;
        }
        const OperatorDef* binary = BinaryAtCursor();
        if (binary == nullptr) return false;
        while (pending_.size() > base && pending_.back().code != kGroup &&
               pending_.back().precedence <= binary->precedence) {
            if (!Reduce()) return false;
        }
        pending_.push_back({binary->code, binary->precedence, false});
        if (!Advance(1)) return false;
        wantOperand = true;
    }
}

// operand -> literal | call; the value goes on top of the value stack.
inline bool CQuickEvaluator::Operand() {
    const std::string& text = *text_;
    const unsigned char c = CurrentChar(source_, text);
    if ((c >= '0' && c <= '9') || c == '.') {
        values_.emplace_back();
        if (!CExpNumConst::Read(source_, text, values_.back()) || source_.HasDiag()) return false;
        // Digits before a "$" begin a fraction, which the full parser reads.
        return CurrentChar(source_, text) != '$' && SkipToToken();
    }
    return NamedOperand();
}

// A name is an operand only as a call of a pure built-in. Kept apart from
// Operand, which reads a literal far more often.
bool CQuickEvaluator::NamedOperand() {
    const std::string_view name = IdentifierAt(source_, *text_);
    if (name.empty()) return false;
    const CExpFunction* function = PureBuiltin(name);
    return function != nullptr && Advance(static_cast<int>(name.size())) &&
           Call(function->Number(), function->Params().size());
}

// Built-ins are defined before anything else and the earliest definition of
// a name wins, so a name that names a built-in names it for the whole run;
// the ones met so far are kept rather than looked up again.
const CExpFunction* CQuickEvaluator::PureBuiltin(std::string_view name) {
    for (const auto& [known, function] : pureBuiltins_) {
        if (known == name) return function;
    }
    const CExpItem* found = scope_.Lookup(name);
    if (found == nullptr || found->Kind() != EXP_FUNCTION) return nullptr;
    const auto* function = static_cast<const CExpFunction*>(found);
    if (!IsPure(function->Number())) return nullptr;
    pureBuiltins_.emplace_back(function->Name(), function);
    return function;
}

// call -> name "(" expression { "," expression } ")", with exactly as many
// arguments as the built-in has parameters.
bool CQuickEvaluator::Call(int number, size_t paramCount) {
    if (CurrentChar(source_, *text_) != '(' || !Advance(1)) return false;
    for (size_t i = 0; i < paramCount; ++i) {
        if (!Expression()) return false;
        const char expected = i + 1 < paramCount ? ',' : ')';
        if (CurrentChar(source_, *text_) != expected || !Advance(1)) return false;
    }
    // The arguments are the values on top of the stack.
    CBuiltinCall call(number, std::span<const CValueData>(values_).last(paramCount));
    try {
        if (!BuiltinImplementations()[number](call)) return false;
    } catch (...) {
        // A math error or a refused conversion: the full parser reports it.
        return false;
    }
    CValueData result = call.Result();
    values_.erase(values_.end() - static_cast<ptrdiff_t>(paramCount), values_.end());
    values_.push_back(std::move(result));
    return true;
}
