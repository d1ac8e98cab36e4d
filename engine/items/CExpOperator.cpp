#include "engine/items/CExpOperator.h"

#include <array>
#include <cstdint>
#include <iterator>

#include "engine/items/CExpElementUse.h"
#include "engine/items/CExpVariableUse.h"
#include "value/CTextError.h"

namespace {

// How the static result type follows from the operands' static types.
enum class ResultType { Operand, Common, Left, Bool, Branches, Last, None };

// The static check of the operand types.
enum class CheckRule { None, Variable, Numeric, Integer, BothNumeric, BothNumericOrString, BothInteger, Condition, Assignment };

// The operand types an operator accepts at run time.
enum class Accepts { Any, Numeric, Integer, NumericOrString };

using Arithmetic = CValueData (CValueData::*)(const CValueData&) const;
using Predicate = bool (CValueData::*)(const CValueData&) const;

struct OperatorRule;
// Runs an operator over its operand items.
using Evaluator = bool (*)(CExpOperator&, const OperatorRule&, CExpContext&);
// What a pure operator makes of operand values (the second is unused by a
// unary one); false with the reason when it fails.
using ValueRule = bool (*)(const OperatorRule&, const CValueData&, const CValueData&, CValueData&, Diag&);

// Whether the operator stores into the variable its first operand names.
enum class Writes : bool { No, Variable };

struct OperatorRule {
    OperatorCode code;
    int operands;   // the number of operands evaluation needs
    Writes writes;
    ResultType result;
    CheckRule check;
    Accepts accepts;
    Evaluator evaluate;
    ValueRule apply = nullptr;   // pure operators only
    Arithmetic arithmetic = nullptr;   // "++" and "--"
    Predicate predicate = nullptr;     // "&&" and "||"
};

bool Fail(const CExpOperator& op, CExpContext& context, Diag id) {
    context.AddDiag(op.Position(), id);
    return false;
}

constexpr bool IsAccepted(Accepts accepts, uint32_t type) {
    switch (accepts) {
        case Accepts::Any: return true;
        case Accepts::Numeric: return IsNumericType(type);
        case Accepts::Integer: return IsIntegerType(type);
        case Accepts::NumericOrString: return IsNumericType(type) || IsStringType(type);
    }
    return false;
}

constexpr uint32_t kTypeCodes = VTYPE_STRING + 1;
template <class T>
using ByTypePair = std::array<std::array<T, kTypeCodes>, kTypeCodes>;

// Whether a binary operator takes the types of both its operands, for each
// rule and pair of type codes. Looked up, not worked out: in a line of
// mixed operators, which rule applies is as random as the operators.
constexpr auto kAcceptedPairs = [] {
    std::array<ByTypePair<bool>, 4> pairs{};
    for (const Accepts accepts : {Accepts::Any, Accepts::Numeric, Accepts::Integer, Accepts::NumericOrString}) {
        for (uint32_t left = 0; left < kTypeCodes; ++left) {
            for (uint32_t right = 0; right < kTypeCodes; ++right) {
                const bool mixed = accepts == Accepts::NumericOrString && IsStringType(left) != IsStringType(right);
                pairs[static_cast<size_t>(accepts)][left][right] =
                    !mixed && IsAccepted(accepts, left) && IsAccepted(accepts, right);
            }
        }
    }
    return pairs;
}();

bool BothAccepted(Accepts accepts, const CValueData& left, const CValueData& right) {
    return kAcceptedPairs[static_cast<size_t>(accepts)][left.Type()][right.Type()];
}

bool Refuse(Diag& why, Diag id) {
    why = id;
    return false;
}

// ---- What the pure operators make of values ----

bool ApplyPlus(const OperatorRule& rule, const CValueData& operand, const CValueData&, CValueData& out, Diag& why) {
    if (!IsAccepted(rule.accepts, operand.Type())) return Refuse(why, Diag::BadOperand);
    out = operand.Plus();
    return true;
}

bool ApplyNegate(const OperatorRule& rule, const CValueData& operand, const CValueData&, CValueData& out, Diag& why) {
    if (!IsAccepted(rule.accepts, operand.Type())) return Refuse(why, Diag::BadOperand);
    CValueData negated = operand;
    out = negated.Negate();
    return true;
}

bool ApplyBitNot(const OperatorRule& rule, const CValueData& operand, const CValueData&, CValueData& out, Diag& why) {
    if (!IsAccepted(rule.accepts, operand.Type())) return Refuse(why, Diag::BadOperand);
    out = CValueData::Dword(~static_cast<uint32_t>(operand.AsInt()));
    return true;
}

bool ApplyNot(const OperatorRule& rule, const CValueData& operand, const CValueData&, CValueData& out, Diag& why) {
    if (!IsAccepted(rule.accepts, operand.Type())) return Refuse(why, Diag::BadOperand);
    out = CValueData::Bool(!operand.AsBool());
    return true;
}

// The value rules of the binary operators come one instance per operation,
// so that working one out is a single call: which operation a line's
// operator does is as random as the line, and a second call through the
// operation's pointer would be mispredicted as often as the first.
template <Arithmetic operation>
bool ApplyArithmetic(const OperatorRule& rule, const CValueData& left, const CValueData& right, CValueData& out,
                     Diag& why) {
    if (!BothAccepted(rule.accepts, left, right)) return Refuse(why, Diag::BadOperand);
    out = (left.*operation)(right);
    return true;
}

// A zero divisor is refused whatever the dividend is, before the types are
// looked at. Converting a string or empty divisor raises the value error.
bool IsZeroDivisor(const CValueData& divisor) {
    return IsIntegerType(divisor.Type()) ? divisor.AsInt() == 0 : divisor.AsDouble() == 0.0;
}

template <Arithmetic operation>
bool ApplyDivision(const OperatorRule& rule, const CValueData& left, const CValueData& right, CValueData& out,
                   Diag& why) {
    if (IsZeroDivisor(right)) return Refuse(why, Diag::DivideByZero);
    return ApplyArithmetic<operation>(rule, left, right, out, why);
}

template <Predicate relation>
bool ApplyComparison(const OperatorRule& rule, const CValueData& left, const CValueData& right, CValueData& out,
                     Diag& why) {
    if (!BothAccepted(rule.accepts, left, right)) return Refuse(why, Diag::BadOperand);
    out = CValueData::Bool((left.*relation)(right));
    return true;
}

// ---- What the operators do with their operand items ----

// What "++" and "--" add and subtract.
const CValueData kOne = CValueData::Int(1);

// Evaluates an operand and takes its value out of the context.
bool Evaluate(CExpItem& operand, CExpContext& context, CValueData& value) {
    if (!operand.Execute(context)) return false;
    value = std::move(context.value);
    return true;
}

// The pure operators evaluate their operands, left to right, and apply
// their value rule.
bool EvaluatePure(CExpOperator& op, const OperatorRule& rule, CExpContext& context) {
    CValueData left;
    CValueData right;
    if (!Evaluate(*op.Child(0), context, left)) return false;
    if (rule.operands == 2 && !Evaluate(*op.Child(1), context, right)) return false;
    Diag why = Diag::ExecutionFault;
    if (!rule.apply(rule, left, right, context.value, why)) return Fail(op, context, why);
    if (context.notes != nullptr) [[unlikely]] {
        context.notes->Operated(op.Code(), op.Position(), left, rule.operands == 2 ? &right : nullptr, context.value);
    }
    return true;
}

// The code of the arithmetic that "++" and "--" do with 1, for the notes.
int StepCode(const OperatorRule& rule) { return rule.arithmetic == &CValueData::Add ? OP_ADD : OP_SUB; }

// Stores value into the variable or array element that target names and
// leaves the target's new value in the context; any other item is left
// alone.
bool StoreInto(CExpItem& target, const CValueData& value, CExpContext& context) {
    switch (target.Kind()) {
        case EXP_VARIABLE_USE: return static_cast<CExpVariableUse&>(target).Write(value, context);
        case EXP_ELEMENT_USE: return static_cast<CExpElementUse&>(target).Write(value, context);
        default: return true;
    }
}

// "++" and "--" before the variable: the result is the stored value in the
// type promoted by the arithmetic with int 1.
bool EvaluatePrefix(CExpOperator& op, const OperatorRule& rule, CExpContext& context) {
    CValueData operand;
    if (!Evaluate(*op.Child(0), context, operand)) return false;
    if (!IsAccepted(rule.accepts, operand.Type())) return Fail(op, context, Diag::BadOperand);
    const CValueData changed = (operand.*rule.arithmetic)(CValueData::Int(1));
    if (context.notes != nullptr) [[unlikely]] {
        context.notes->Operated(StepCode(rule), op.Position(), operand, &kOne, changed);
    }
    if (!StoreInto(*op.Child(0), changed, context)) return false;
    context.value = changed;
    return true;
}

// "++" and "--" after the variable: the result is the old value in its own
// type, written before the type test.
bool EvaluatePostfix(CExpOperator& op, const OperatorRule& rule, CExpContext& context) {
    CValueData operand;
    if (!Evaluate(*op.Child(0), context, operand)) return false;
    if (!IsAccepted(rule.accepts, operand.Type())) return Fail(op, context, Diag::BadOperand);
    const CValueData changed = (operand.*rule.arithmetic)(CValueData::Int(1));
    if (context.notes != nullptr) [[unlikely]] {
        context.notes->Operated(StepCode(rule), op.Position(), operand, &kOne, changed);
    }
    if (!StoreInto(*op.Child(0), changed, context)) return false;
    context.value = std::move(operand);
    return true;
}

// "&&" and "||": the right operand is evaluated only when the left one does
// not already decide the result (false for "&&", true for "||").
bool EvaluateLogical(CExpOperator& op, const OperatorRule& rule, CExpContext& context) {
    const bool decidedBy = op.Code() == OP_OR;
    CValueData left;
    if (!Evaluate(*op.Child(0), context, left)) return false;
    if (!IsAccepted(rule.accepts, left.Type())) return Fail(op, context, Diag::BadOperand);
    if (left.AsBool() == decidedBy) {
        context.value = CValueData::Bool(decidedBy);
        return true;
    }
    CValueData right;
    if (!Evaluate(*op.Child(1), context, right)) return false;
    if (!IsAccepted(rule.accepts, right.Type())) return Fail(op, context, Diag::BadOperand);
    context.value = CValueData::Bool((left.*rule.predicate)(right));
    return true;
}

// Only the selected branch is evaluated; its value keeps its own type.
bool EvaluateCondition(CExpOperator& op, const OperatorRule&, CExpContext& context) {
    CValueData condition;
    if (!Evaluate(*op.Child(0), context, condition)) return false;
    return op.Child(condition.AsBool() ? 1 : 2)->Execute(context);
}

// A ":" left without its "?" has no operands and no value of its own.
bool EvaluateColon(CExpOperator&, const OperatorRule&, CExpContext& context) {
    context.value.Clear();
    return true;
}

// The right side is stored into the target, whose subscripts are evaluated
// once; the result is the target's new value in the target's type. A store
// that fails fails the assignment with the target's diagnostic.
bool EvaluateAssignment(CExpOperator& op, const OperatorRule&, CExpContext& context) {
    CValueData value;
    if (!Evaluate(*op.Child(1), context, value)) return false;
    return StoreInto(*op.Child(0), value, context);
}

bool EvaluateComma(CExpOperator& op, const OperatorRule&, CExpContext& context) {
    CValueData dropped;
    if (!Evaluate(*op.Child(0), context, dropped)) return false;
    return op.Child(1)->Execute(context);
}

using W = Writes;
using RT = ResultType;
using CR = CheckRule;
using AC = Accepts;
using V = CValueData;

// ORDER OPERATORCODE: one row per operator code, indexed by the code.
constexpr OperatorRule kRules[] = {
    {OP_PRE_INC, 1, W::Variable, RT::Operand, CR::Variable, AC::Numeric, EvaluatePrefix, nullptr, &V::Add},
    {OP_PRE_DEC, 1, W::Variable, RT::Operand, CR::Variable, AC::Numeric, EvaluatePrefix, nullptr, &V::Sub},
    {OP_POST_INC, 1, W::Variable, RT::Operand, CR::Variable, AC::Numeric, EvaluatePostfix, nullptr, &V::Add},
    {OP_POST_DEC, 1, W::Variable, RT::Operand, CR::Variable, AC::Numeric, EvaluatePostfix, nullptr, &V::Sub},
    {OP_PLUS, 1, W::No, RT::Operand, CR::Numeric, AC::Numeric, EvaluatePure, ApplyPlus},
    {OP_MINUS, 1, W::No, RT::Operand, CR::Numeric, AC::Numeric, EvaluatePure, ApplyNegate},
    {OP_BITNOT, 1, W::No, RT::Operand, CR::Integer, AC::Integer, EvaluatePure, ApplyBitNot},
    {OP_MUL, 2, W::No, RT::Common, CR::BothNumeric, AC::Numeric, EvaluatePure, ApplyArithmetic<&V::Mul>},
    {OP_DIV, 2, W::No, RT::Common, CR::BothNumeric, AC::Numeric, EvaluatePure, ApplyDivision<&V::Div>},
    // "%" passes the static check like "*" but needs integers at run time.
    {OP_MOD, 2, W::No, RT::Common, CR::BothNumeric, AC::Integer, EvaluatePure, ApplyDivision<&V::Mod>},
    {OP_ADD, 2, W::No, RT::Common, CR::BothNumericOrString, AC::NumericOrString, EvaluatePure, ApplyArithmetic<&V::Add>},
    {OP_SUB, 2, W::No, RT::Common, CR::BothNumeric, AC::Numeric, EvaluatePure, ApplyArithmetic<&V::Sub>},
    {OP_SHR, 2, W::No, RT::Left, CR::BothInteger, AC::Integer, EvaluatePure, ApplyArithmetic<&V::ShiftRight>},
    {OP_SHL, 2, W::No, RT::Left, CR::BothInteger, AC::Integer, EvaluatePure, ApplyArithmetic<&V::ShiftLeft>},
    {OP_LE, 2, W::No, RT::Bool, CR::BothNumeric, AC::Numeric, EvaluatePure, ApplyComparison<&V::LessEqual>},
    {OP_LT, 2, W::No, RT::Bool, CR::BothNumeric, AC::Numeric, EvaluatePure, ApplyComparison<&V::Less>},
    {OP_GE, 2, W::No, RT::Bool, CR::BothNumeric, AC::Numeric, EvaluatePure, ApplyComparison<&V::GreaterEqual>},
    {OP_GT, 2, W::No, RT::Bool, CR::BothNumeric, AC::Numeric, EvaluatePure, ApplyComparison<&V::Greater>},
    {OP_EQ, 2, W::No, RT::Bool, CR::BothNumericOrString, AC::NumericOrString, EvaluatePure, ApplyComparison<&V::Equal>},
    {OP_NE, 2, W::No, RT::Bool, CR::BothNumericOrString, AC::NumericOrString, EvaluatePure,
     ApplyComparison<&V::NotEqual>},
    {OP_XOR, 2, W::No, RT::Common, CR::BothInteger, AC::Integer, EvaluatePure, ApplyArithmetic<&V::BitXor>},
    {OP_AND, 2, W::No, RT::Bool, CR::BothNumeric, AC::Numeric, EvaluateLogical, nullptr, nullptr, &V::LogicalAnd},
    {OP_OR, 2, W::No, RT::Bool, CR::BothNumeric, AC::Numeric, EvaluateLogical, nullptr, nullptr, &V::LogicalOr},
    {OP_COND, 3, W::No, RT::Branches, CR::Condition, AC::Any, EvaluateCondition},
    {OP_COLON, 0, W::No, RT::None, CR::None, AC::Any, EvaluateColon},
    {OP_ASSIGN, 2, W::Variable, RT::Left, CR::Assignment, AC::Any, EvaluateAssignment},
    {OP_COMMA, 2, W::No, RT::Last, CR::None, AC::Any, EvaluateComma},
    {OP_NOT, 1, W::No, RT::Operand, CR::Numeric, AC::Numeric, EvaluatePure, ApplyNot},
    {OP_BITAND, 2, W::No, RT::Common, CR::BothInteger, AC::Integer, EvaluatePure, ApplyArithmetic<&V::BitAnd>},
    {OP_BITOR, 2, W::No, RT::Common, CR::BothInteger, AC::Integer, EvaluatePure, ApplyArithmetic<&V::BitOr>},
};

constexpr int kRuleCount = static_cast<int>(std::size(kRules));
static_assert(kRuleCount == OP_COUNT, "one rule per operator code");

constexpr bool RulesFollowTheCodes() {
    for (int code = 0; code < kRuleCount; ++code) {
        if (kRules[code].code != code) return false;
    }
    return true;
}
static_assert(RulesFollowTheCodes(), "the rules of kRules follow the order of OperatorCode");

constexpr const OperatorRule* RuleOf(int code) {
    return code >= 0 && code < kRuleCount ? &kRules[code] : nullptr;
}

// The operand count each check rule needs; with fewer the check fails
// without a diagnostic.
int OperandsChecked(CheckRule rule) {
    switch (rule) {
        case CheckRule::None: return 0;
        case CheckRule::Variable:
        case CheckRule::Numeric:
        case CheckRule::Integer: return 1;
        case CheckRule::Condition: return 3;
        default: return 2;
    }
}

// A numeric target takes a numeric value, a string target a string; a
// target without a static type takes anything.
constexpr bool IsAssignable(int target, int value) {
    if (IsNumericType(target)) return IsNumericType(value);
    if (IsStringType(target)) return IsStringType(value);
    return true;
}

constexpr int ResultTypeOf(const OperatorRule& rule, int first, int second, int third) {
    switch (rule.result) {
        case ResultType::Operand:
        case ResultType::Left: return first;
        case ResultType::Common: return CommonType(first, second);
        case ResultType::Bool: return VTYPE_BOOL;
        case ResultType::Branches: return CommonType(second, third);
        case ResultType::Last: return second;
        case ResultType::None: return 0;
    }
    return 0;
}

// The type part of the static check.
constexpr bool TypesPass(CheckRule rule, int left, int right) {
    switch (rule) {
        case CheckRule::Variable:
        case CheckRule::Numeric:
        case CheckRule::Condition: return IsNumericType(left);
        case CheckRule::Integer: return IsIntegerType(left);
        case CheckRule::BothNumeric: return IsNumericType(left) && IsNumericType(right);
        case CheckRule::BothNumericOrString:
            return (IsNumericType(left) && IsNumericType(right)) || (IsStringType(left) && IsStringType(right));
        case CheckRule::BothInteger: return IsIntegerType(left) && IsIntegerType(right);
        case CheckRule::Assignment: return IsAssignable(left, right);
        case CheckRule::None: return true;
    }
    return true;
}

// The static type of a pure operator's result over operands of the given
// static types, or -1 where its check refuses them: what ApplyToValues asks
// before it runs an operator, in one look-up instead of two switches.
constexpr auto kResultTypes = [] {
    std::array<ByTypePair<int8_t>, kRuleCount> types{};
    for (int code = 0; code < kRuleCount; ++code) {
        const OperatorRule& rule = kRules[code];
        for (uint32_t left = 0; left < kTypeCodes; ++left) {
            for (uint32_t right = 0; right < kTypeCodes; ++right) {
                const int l = static_cast<int>(left);
                const int r = static_cast<int>(right);
                types[static_cast<size_t>(code)][left][right] =
                    static_cast<int8_t>(TypesPass(rule.check, l, r) ? ResultTypeOf(rule, l, r, 0) : -1);
            }
        }
    }
    return types;
}();

// The second operand of a unary operator's value rule, which it ignores.
const CValueData kNoOperand;

}  // namespace

CExpOperator::CExpOperator(int row, int code, int position)
    : CExpItem(EXP_OPERATOR), row_(static_cast<uint8_t>(row)), code_(static_cast<int8_t>(code)) {
    SetPosition(position);
}

void CExpOperator::AddOperand(CExpItem* operand) {
    operand->SetParent(this);
    operands_[count_++] = operand;
}

int CExpOperator::ValueType() const { return staticType_ >= 0 ? staticType_ : ComputeValueType(); }

int CExpOperator::ComputeValueType() const {
    const OperatorRule* rule = RuleOf(code_);
    if (rule == nullptr) return 0;
    int types[3] = {};
    for (size_t i = 0; i < count_; ++i) types[i] = operands_[i]->ValueType();
    return ResultTypeOf(*rule, types[0], types[1], types[2]);
}

bool CExpOperator::Check(CExpSource& source) {
    if (!CExpItem::Check(source)) return false;
    // The operands are final once checked, so the static type is too; keeping
    // it spares the enclosing operators a walk over this whole subtree.
    staticType_ = ComputeValueType();
    const OperatorRule* rule = RuleOf(code_);
    if (rule == nullptr || rule->check == CheckRule::None) return true;
    if (static_cast<int>(ChildCount()) < OperandsChecked(rule->check)) return false;

    const CExpItem& first = *Child(0);
    auto refuse = [&](Diag id) {
        source.AddDiag(first.Position(), id);
        return false;
    };
    if (rule->check == CheckRule::Assignment && !IsVariableUse(first)) return refuse(Diag::OperandNotVariable);
    const int right = ChildCount() > 1 ? Child(1)->ValueType() : 0;
    if (!TypesPass(rule->check, first.ValueType(), right)) return refuse(Diag::OperandTypeMismatch);
    // Only a variable can be incremented: «++a++» would otherwise try to
    // store into the value of «a++».
    if (rule->check == CheckRule::Variable && first.Kind() != EXP_VARIABLE_USE) {
        return refuse(Diag::OperandNotVariable);
    }
    return true;
}

bool CExpOperator::Execute(CExpContext& context) {
    const OperatorRule* rule = RuleOf(code_);
    if (rule == nullptr) return Fail(*this, context, Diag::OperatorNotImplemented);
    if (static_cast<int>(ChildCount()) != rule->operands) return Fail(*this, context, Diag::OperandCount);
    return rule->evaluate(*this, *rule, context);
}

bool CExpOperator::WritesVariable(int code) {
    const OperatorRule* rule = RuleOf(code);
    return rule != nullptr && rule->writes == Writes::Variable;
}

bool CExpOperator::IsPure(int code, int operands) {
    const OperatorRule* rule = RuleOf(code);
    return rule != nullptr && rule->apply != nullptr && rule->operands == operands;
}

bool CExpOperator::ApplyToValues(int code, const CValueData& left, const CValueData* right, int leftType, int rightType,
                                 CValueData& result, int& type) {
    const OperatorRule* rule = RuleOf(code);
    if (rule == nullptr || rule->apply == nullptr || rule->operands != (right != nullptr ? 2 : 1)) return false;
    const auto l = static_cast<uint32_t>(leftType);
    const auto r = static_cast<uint32_t>(rightType);
    if (l >= kTypeCodes || r >= kTypeCodes) return false;
    const int resultType = kResultTypes[static_cast<size_t>(code)][l][r];
    if (resultType < 0) return false;
    Diag why = Diag::ExecutionFault;
    try {
        if (!rule->apply(*rule, left, right != nullptr ? *right : kNoOperand, result, why)) return false;
    } catch (const CTextError&) {
        return false;
    }
    type = resultType;
    return true;
}

bool CExpOperator::ApplyToValuesNoting(int code, const CValueData& left, const CValueData* right, int leftType,
                                       int rightType, CValueData& result, int& type, CValueNoteList& notes,
                                       int position) {
    // result may be the storage of left, which the note needs as it was.
    const CValueData operand = left;
    if (!ApplyToValues(code, operand, right, leftType, rightType, result, type)) return false;
    notes.Operated(code, position, operand, right, result);
    return true;
}
