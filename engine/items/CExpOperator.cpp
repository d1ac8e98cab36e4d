#include "engine/items/CExpOperator.h"

#include <cstdint>
#include <iterator>

#include "engine/items/CExpElementUse.h"
#include "engine/items/CExpVariableUse.h"

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
using Evaluator = bool (*)(CExpOperator&, const OperatorRule&, CExpContext&);

struct OperatorRule {
    int operands;   // the number of operands evaluation needs
    ResultType result;
    CheckRule check;
    Accepts accepts;
    Evaluator evaluate;
    Arithmetic arithmetic = nullptr;
    Predicate predicate = nullptr;
};

bool Fail(const CExpOperator& op, CExpContext& context, Diag id) {
    context.AddDiag(op.Position(), id);
    return false;
}

bool IsAccepted(Accepts accepts, uint32_t type) {
    switch (accepts) {
        case Accepts::Any: return true;
        case Accepts::Numeric: return IsNumericType(type);
        case Accepts::Integer: return IsIntegerType(type);
        case Accepts::NumericOrString: return IsNumericType(type) || IsStringType(type);
    }
    return false;
}

bool BothAccepted(Accepts accepts, const CValueData& left, const CValueData& right) {
    if (accepts == Accepts::NumericOrString && IsStringType(left.Type()) != IsStringType(right.Type())) return false;
    return IsAccepted(accepts, left.Type()) && IsAccepted(accepts, right.Type());
}

// Evaluates an operand and takes its value out of the context.
bool Evaluate(CExpItem& operand, CExpContext& context, CValueData& value) {
    if (!operand.Execute(context)) return false;
    value = std::move(context.value);
    return true;
}

bool EvaluateBoth(CExpOperator& op, CExpContext& context, CValueData& left, CValueData& right) {
    return Evaluate(*op.Child(0), context, left) && Evaluate(*op.Child(1), context, right);
}

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
    if (!StoreInto(*op.Child(0), (operand.*rule.arithmetic)(CValueData::Int(1)), context)) return false;
    context.value = std::move(operand);
    return true;
}

bool EvaluatePlus(CExpOperator& op, const OperatorRule& rule, CExpContext& context) {
    CValueData operand;
    if (!Evaluate(*op.Child(0), context, operand)) return false;
    if (!IsAccepted(rule.accepts, operand.Type())) return Fail(op, context, Diag::BadOperand);
    context.value = operand.Plus();
    return true;
}

bool EvaluateNegate(CExpOperator& op, const OperatorRule& rule, CExpContext& context) {
    CValueData operand;
    if (!Evaluate(*op.Child(0), context, operand)) return false;
    if (!IsAccepted(rule.accepts, operand.Type())) return Fail(op, context, Diag::BadOperand);
    context.value = operand.Negate();
    return true;
}

bool EvaluateBitNot(CExpOperator& op, const OperatorRule& rule, CExpContext& context) {
    CValueData operand;
    if (!Evaluate(*op.Child(0), context, operand)) return false;
    if (!IsAccepted(rule.accepts, operand.Type())) return Fail(op, context, Diag::BadOperand);
    context.value = CValueData::Dword(~static_cast<uint32_t>(operand.AsInt()));
    return true;
}

bool EvaluateNot(CExpOperator& op, const OperatorRule& rule, CExpContext& context) {
    CValueData operand;
    if (!Evaluate(*op.Child(0), context, operand)) return false;
    if (!IsAccepted(rule.accepts, operand.Type())) return Fail(op, context, Diag::BadOperand);
    context.value = CValueData::Bool(!operand.AsBool());
    return true;
}

bool EvaluateArithmetic(CExpOperator& op, const OperatorRule& rule, CExpContext& context) {
    CValueData left;
    CValueData right;
    if (!EvaluateBoth(op, context, left, right)) return false;
    if (!BothAccepted(rule.accepts, left, right)) return Fail(op, context, Diag::BadOperand);
    context.value = (left.*rule.arithmetic)(right);
    return true;
}

// A zero divisor is refused whatever the dividend is, before the types are
// looked at. Converting a string or empty divisor raises the value error.
bool IsZeroDivisor(const CValueData& divisor) {
    return IsIntegerType(divisor.Type()) ? divisor.AsInt() == 0 : divisor.AsDouble() == 0.0;
}

bool EvaluateDivision(CExpOperator& op, const OperatorRule& rule, CExpContext& context) {
    CValueData left;
    CValueData right;
    if (!EvaluateBoth(op, context, left, right)) return false;
    if (IsZeroDivisor(right)) return Fail(op, context, Diag::DivideByZero);
    if (!BothAccepted(rule.accepts, left, right)) return Fail(op, context, Diag::BadOperand);
    context.value = (left.*rule.arithmetic)(right);
    return true;
}

bool EvaluateComparison(CExpOperator& op, const OperatorRule& rule, CExpContext& context) {
    CValueData left;
    CValueData right;
    if (!EvaluateBoth(op, context, left, right)) return false;
    if (!BothAccepted(rule.accepts, left, right)) return Fail(op, context, Diag::BadOperand);
    context.value = CValueData::Bool((left.*rule.predicate)(right));
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

// ORDER OPERATORCODE: one row per operator code, indexed by the code.
const OperatorRule kRules[] = {
    /* OP_PRE_INC */ {1, ResultType::Operand, CheckRule::Variable, Accepts::Numeric, EvaluatePrefix, &CValueData::Add},
    /* OP_PRE_DEC */ {1, ResultType::Operand, CheckRule::Variable, Accepts::Numeric, EvaluatePrefix, &CValueData::Sub},
    /* OP_POST_INC */ {1, ResultType::Operand, CheckRule::Variable, Accepts::Numeric, EvaluatePostfix, &CValueData::Add},
    /* OP_POST_DEC */ {1, ResultType::Operand, CheckRule::Variable, Accepts::Numeric, EvaluatePostfix, &CValueData::Sub},
    /* OP_PLUS */ {1, ResultType::Operand, CheckRule::Numeric, Accepts::Numeric, EvaluatePlus},
    /* OP_MINUS */ {1, ResultType::Operand, CheckRule::Numeric, Accepts::Numeric, EvaluateNegate},
    /* OP_BITNOT */ {1, ResultType::Operand, CheckRule::Integer, Accepts::Integer, EvaluateBitNot},
    /* OP_MUL */ {2, ResultType::Common, CheckRule::BothNumeric, Accepts::Numeric, EvaluateArithmetic, &CValueData::Mul},
    /* OP_DIV */ {2, ResultType::Common, CheckRule::BothNumeric, Accepts::Numeric, EvaluateDivision, &CValueData::Div},
    // "%" passes the static check like "*" but needs integers at run time.
    /* OP_MOD */ {2, ResultType::Common, CheckRule::BothNumeric, Accepts::Integer, EvaluateDivision, &CValueData::Mod},
    /* OP_ADD */ {2, ResultType::Common, CheckRule::BothNumericOrString, Accepts::NumericOrString, EvaluateArithmetic, &CValueData::Add},
    /* OP_SUB */ {2, ResultType::Common, CheckRule::BothNumeric, Accepts::Numeric, EvaluateArithmetic, &CValueData::Sub},
    /* OP_SHR */ {2, ResultType::Left, CheckRule::BothInteger, Accepts::Integer, EvaluateArithmetic, &CValueData::ShiftRight},
    /* OP_SHL */ {2, ResultType::Left, CheckRule::BothInteger, Accepts::Integer, EvaluateArithmetic, &CValueData::ShiftLeft},
    /* OP_LE */ {2, ResultType::Bool, CheckRule::BothNumeric, Accepts::Numeric, EvaluateComparison, nullptr, &CValueData::LessEqual},
    /* OP_LT */ {2, ResultType::Bool, CheckRule::BothNumeric, Accepts::Numeric, EvaluateComparison, nullptr, &CValueData::Less},
    /* OP_GE */ {2, ResultType::Bool, CheckRule::BothNumeric, Accepts::Numeric, EvaluateComparison, nullptr, &CValueData::GreaterEqual},
    /* OP_GT */ {2, ResultType::Bool, CheckRule::BothNumeric, Accepts::Numeric, EvaluateComparison, nullptr, &CValueData::Greater},
    /* OP_EQ */ {2, ResultType::Bool, CheckRule::BothNumericOrString, Accepts::NumericOrString, EvaluateComparison, nullptr, &CValueData::Equal},
    /* OP_NE */ {2, ResultType::Bool, CheckRule::BothNumericOrString, Accepts::NumericOrString, EvaluateComparison, nullptr, &CValueData::NotEqual},
    /* OP_XOR */ {2, ResultType::Common, CheckRule::BothInteger, Accepts::Integer, EvaluateArithmetic, &CValueData::BitXor},
    /* OP_AND */ {2, ResultType::Bool, CheckRule::BothNumeric, Accepts::Numeric, EvaluateLogical, nullptr, &CValueData::LogicalAnd},
    /* OP_OR */ {2, ResultType::Bool, CheckRule::BothNumeric, Accepts::Numeric, EvaluateLogical, nullptr, &CValueData::LogicalOr},
    /* OP_COND */ {3, ResultType::Branches, CheckRule::Condition, Accepts::Any, EvaluateCondition},
    /* OP_COLON */ {0, ResultType::None, CheckRule::None, Accepts::Any, EvaluateColon},
    /* OP_ASSIGN */ {2, ResultType::Left, CheckRule::Assignment, Accepts::Any, EvaluateAssignment},
    /* OP_COMMA */ {2, ResultType::Last, CheckRule::None, Accepts::Any, EvaluateComma},
    /* OP_NOT */ {1, ResultType::Operand, CheckRule::Numeric, Accepts::Numeric, EvaluateNot},
    /* OP_BITAND */ {2, ResultType::Common, CheckRule::BothInteger, Accepts::Integer, EvaluateArithmetic, &CValueData::BitAnd},
    /* OP_BITOR */ {2, ResultType::Common, CheckRule::BothInteger, Accepts::Integer, EvaluateArithmetic, &CValueData::BitOr},
};

const OperatorRule* RuleOf(int code) {
    constexpr int kRuleCount = static_cast<int>(std::size(kRules));
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

bool IsVariable(const CExpItem& item) { return item.Kind() == EXP_VARIABLE_USE || item.Kind() == EXP_ELEMENT_USE; }

// A numeric target takes a numeric value, a string target a string; a
// target without a static type takes anything.
bool IsAssignable(int target, int value) {
    if (IsNumericType(target)) return IsNumericType(value);
    if (IsStringType(target)) return IsStringType(value);
    return true;
}

}  // namespace

CExpOperator::CExpOperator(int row, int code, int precedence, int position)
    : CExpItem(EXP_OPERATOR),
      row_(static_cast<uint8_t>(row)),
      code_(static_cast<int8_t>(code)),
      precedence_(static_cast<uint8_t>(precedence)) {
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
    auto typeOf = [this](size_t i) { return i < ChildCount() ? Child(i)->ValueType() : 0; };
    switch (rule->result) {
        case ResultType::Operand:
        case ResultType::Left: return typeOf(0);
        case ResultType::Common: return CommonType(typeOf(0), typeOf(1));
        case ResultType::Bool: return VTYPE_BOOL;
        case ResultType::Branches: return CommonType(typeOf(1), typeOf(2));
        case ResultType::Last: return typeOf(1);
        case ResultType::None: return 0;
    }
    return 0;
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
    const int left = first.ValueType();
    const int right = ChildCount() > 1 ? Child(1)->ValueType() : 0;
    auto refuse = [&](Diag id) {
        source.AddDiag(first.Position(), id);
        return false;
    };
    switch (rule->check) {
        case CheckRule::Variable:
            // Only a variable can be incremented: «++a++» would otherwise
            // try to store into the value of «a++».
            if (!IsNumericType(left)) return refuse(Diag::OperandTypeMismatch);
            return first.Kind() == EXP_VARIABLE_USE || refuse(Diag::OperandNotVariable);
        case CheckRule::Numeric: return IsNumericType(left) || refuse(Diag::OperandTypeMismatch);
        case CheckRule::Integer: return IsIntegerType(left) || refuse(Diag::OperandTypeMismatch);
        case CheckRule::BothNumeric: return (IsNumericType(left) && IsNumericType(right)) || refuse(Diag::OperandTypeMismatch);
        case CheckRule::BothNumericOrString:
            return (IsNumericType(left) && IsNumericType(right)) || (IsStringType(left) && IsStringType(right)) ||
                   refuse(Diag::OperandTypeMismatch);
        case CheckRule::BothInteger: return (IsIntegerType(left) && IsIntegerType(right)) || refuse(Diag::OperandTypeMismatch);
        case CheckRule::Condition: return IsNumericType(left) || refuse(Diag::OperandTypeMismatch);
        case CheckRule::Assignment:
            if (!IsVariable(first)) return refuse(Diag::OperandNotVariable);
            return IsAssignable(left, right) || refuse(Diag::OperandTypeMismatch);
        case CheckRule::None: return true;
    }
    return true;
}

bool CExpOperator::Execute(CExpContext& context) {
    const OperatorRule* rule = RuleOf(code_);
    if (rule == nullptr) return Fail(*this, context, Diag::OperatorNotImplemented);
    if (static_cast<int>(ChildCount()) != rule->operands) return Fail(*this, context, Diag::OperandCount);
    return rule->evaluate(*this, *rule, context);
}
