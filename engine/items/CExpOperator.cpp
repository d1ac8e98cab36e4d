#include "engine/items/CExpOperator.h"

#include <array>
#include <cstdint>

#include "engine/items/CExpElementUse.h"
#include "engine/items/CExpVariableUse.h"
#include "value/CTextError.h"

namespace {

bool Fail(const CExpOperator& op, CExpContext& context, Diag id) {
    context.AddDiag(op.Position(), id);
    return false;
}

// The one place where an operator's value rule meets values: the run of a
// line (EvaluatePure), the folding while it is read and the literal pass
// (both through ApplyToValues) all come here.
bool ApplyValueRule(const OperatorDef& row, const CValueData& left, const CValueData& right, CValueData& out,
                    Diag& why) {
    return row.apply(row.accepts, left, right, out, why);
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
bool EvaluatePure(CExpOperator& op, const OperatorDef& row, CExpContext& context) {
    CValueData left;
    CValueData right;
    if (!Evaluate(*op.Child(0), context, left)) return false;
    if (row.operands == 2 && !Evaluate(*op.Child(1), context, right)) return false;
    Diag why = Diag::ExecutionFault;
    if (!ApplyValueRule(row, left, right, context.value, why)) return Fail(op, context, why);
    if (context.notes != nullptr) [[unlikely]] {
        context.notes->Operated(op.Code(), op.Position(), left, row.operands == 2 ? &right : nullptr, context.value);
    }
    return true;
}

// The code of the arithmetic that "++" and "--" do with 1, for the notes.
int StepCode(const OperatorDef& row) { return row.special.step == &CValueData::Add ? OP_ADD : OP_SUB; }

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
bool EvaluatePrefix(CExpOperator& op, const OperatorDef& row, CExpContext& context) {
    CValueData operand;
    if (!Evaluate(*op.Child(0), context, operand)) return false;
    if (!IsAccepted(row.accepts, operand.Type())) return Fail(op, context, Diag::BadOperand);
    const CValueData changed = (operand.*row.special.step)(CValueData::Int(1));
    if (context.notes != nullptr) [[unlikely]] {
        context.notes->Operated(StepCode(row), op.Position(), operand, &kOne, changed);
    }
    if (!StoreInto(*op.Child(0), changed, context)) return false;
    context.value = changed;
    return true;
}

// "++" and "--" after the variable: the result is the old value in its own
// type, written before the type test.
bool EvaluatePostfix(CExpOperator& op, const OperatorDef& row, CExpContext& context) {
    CValueData operand;
    if (!Evaluate(*op.Child(0), context, operand)) return false;
    if (!IsAccepted(row.accepts, operand.Type())) return Fail(op, context, Diag::BadOperand);
    const CValueData changed = (operand.*row.special.step)(CValueData::Int(1));
    if (context.notes != nullptr) [[unlikely]] {
        context.notes->Operated(StepCode(row), op.Position(), operand, &kOne, changed);
    }
    if (!StoreInto(*op.Child(0), changed, context)) return false;
    context.value = std::move(operand);
    return true;
}

// "&&" and "||": the right operand is evaluated only when the left one does
// not already decide the result (false for "&&", true for "||").
bool EvaluateLogical(CExpOperator& op, const OperatorDef& row, CExpContext& context) {
    const bool decidedBy = row.special.decidedBy;
    CValueData left;
    if (!Evaluate(*op.Child(0), context, left)) return false;
    if (!IsAccepted(row.accepts, left.Type())) return Fail(op, context, Diag::BadOperand);
    if (left.AsBool() == decidedBy) {
        context.value = CValueData::Bool(decidedBy);
        return true;
    }
    CValueData right;
    if (!Evaluate(*op.Child(1), context, right)) return false;
    if (!IsAccepted(row.accepts, right.Type())) return Fail(op, context, Diag::BadOperand);
    context.value = CValueData::Bool((left.*row.special.predicate)(right));
    return true;
}

// Only the selected branch is evaluated; its value keeps its own type.
bool EvaluateCondition(CExpOperator& op, CExpContext& context) {
    CValueData condition;
    if (!Evaluate(*op.Child(0), context, condition)) return false;
    return op.Child(condition.AsBool() ? 1 : 2)->Execute(context);
}

// A ":" left without its "?" has no operands and no value of its own.
bool EvaluateColon(CExpContext& context) {
    context.value.Clear();
    return true;
}

// The right side is stored into the target, whose subscripts are evaluated
// once; the result is the target's new value in the target's type. A store
// that fails fails the assignment with the target's diagnostic.
bool EvaluateAssignment(CExpOperator& op, CExpContext& context) {
    CValueData value;
    if (!Evaluate(*op.Child(1), context, value)) return false;
    return StoreInto(*op.Child(0), value, context);
}

bool EvaluateComma(CExpOperator& op, CExpContext& context) {
    CValueData dropped;
    if (!Evaluate(*op.Child(0), context, dropped)) return false;
    return op.Child(1)->Execute(context);
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

constexpr int ResultTypeOf(const OperatorDef& row, int first, int second, int third) {
    switch (row.result) {
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
// Its rows are as wide as those of the operator values' tables, for the
// same reason: shifts find a pair.
constexpr uint32_t kTypeCodes = VTYPE_STRING + 1;
constexpr uint32_t kTypeRow = operator_values_detail::kTypeRow;

constexpr auto kResultTypes = [] {
    std::array<std::array<std::array<int8_t, kTypeRow>, kTypeRow>, kOperators.size()> types{};
    for (auto& byLeft : types) {
        for (auto& byRight : byLeft) byRight.fill(-1);
    }
    for (size_t code = 0; code < kOperators.size(); ++code) {
        const OperatorDef& row = kOperators[code];
        for (uint32_t left = 0; left < kTypeCodes; ++left) {
            for (uint32_t right = 0; right < kTypeCodes; ++right) {
                const int l = static_cast<int>(left);
                const int r = static_cast<int>(right);
                types[code][left][right] =
                    static_cast<int8_t>(TypesPass(row.check, l, r) ? ResultTypeOf(row, l, r, 0) : -1);
            }
        }
    }
    return types;
}();

// The second operand of a unary operator's value rule, which it ignores.
const CValueData kNoOperand;

}  // namespace

CExpOperator::CExpOperator(int code, int position) : CExpItem(EXP_OPERATOR), code_(static_cast<int8_t>(code)) {
    SetPosition(position);
}

void CExpOperator::AddOperand(CExpItem* operand) {
    operand->SetParent(this);
    operands_[count_++] = operand;
}

int CExpOperator::ValueType() const { return staticType_ >= 0 ? staticType_ : ComputeValueType(); }

int CExpOperator::ComputeValueType() const {
    int types[3] = {};
    for (size_t i = 0; i < count_; ++i) types[i] = operands_[i]->ValueType();
    return ResultTypeOf(OperatorRow(code_), types[0], types[1], types[2]);
}

bool CExpOperator::Check(CExpSource& source) {
    // The operands in text order, each checked before its type is asked.
    int types[3] = {};
    for (size_t i = 0; i < count_; ++i) {
        if (!operands_[i]->Check(source)) return false;
        types[i] = operands_[i]->ValueType();
    }
    // The operands are final once checked, so the static type is too; keeping
    // it spares the enclosing operators a walk over this whole subtree.
    const OperatorDef& row = OperatorRow(code_);
    staticType_ = ResultTypeOf(row, types[0], types[1], types[2]);
    const CheckRule check = row.check;
    if (check == CheckRule::None) return true;
    if (static_cast<int>(count_) < OperandsChecked(check)) return false;

    const CExpItem& first = *operands_[0];
    auto refuse = [&](Diag id) {
        source.AddDiag(first.Position(), id);
        return false;
    };
    if (check == CheckRule::Assignment && !IsVariableUse(first)) return refuse(Diag::OperandNotVariable);
    if (!TypesPass(check, types[0], types[1])) return refuse(Diag::OperandTypeMismatch);
    // Only a variable can be incremented: «++a++» would otherwise try to
    // store into the value of «a++».
    if (check == CheckRule::Variable && first.Kind() != EXP_VARIABLE_USE) return refuse(Diag::OperandNotVariable);
    return true;
}

bool CExpOperator::Execute(CExpContext& context) {
    const OperatorDef& row = OperatorRow(code_);
    if (static_cast<int>(ChildCount()) != row.operands) return Fail(*this, context, Diag::OperandCount);
    switch (row.runs) {
        case Runs::Pure: return EvaluatePure(*this, row, context);
        case Runs::Prefix: return EvaluatePrefix(*this, row, context);
        case Runs::Postfix: return EvaluatePostfix(*this, row, context);
        case Runs::Logical: return EvaluateLogical(*this, row, context);
        case Runs::Condition: return EvaluateCondition(*this, context);
        case Runs::Colon: return EvaluateColon(context);
        case Runs::Assignment: return EvaluateAssignment(*this, context);
        case Runs::Comma: return EvaluateComma(*this, context);
    }
    return Fail(*this, context, Diag::OperatorNotImplemented);
}

bool CExpOperator::ApplyToValues(int code, const CValueData& left, const CValueData* right, int leftType, int rightType,
                                 CValueData& result, int& type) {
    const OperatorDef& row = OperatorRow(code);
    if (!IsPure(row) || row.operands != (right != nullptr ? 2 : 1)) return false;
    const auto l = static_cast<uint32_t>(leftType);
    const auto r = static_cast<uint32_t>(rightType);
    if (l >= kTypeCodes || r >= kTypeCodes) return false;
    const int resultType = kResultTypes[static_cast<size_t>(code)][l][r];
    if (resultType < 0) return false;
    Diag why = Diag::ExecutionFault;
    try {
        if (!ApplyValueRule(row, left, right != nullptr ? *right : kNoOperand, result, why)) return false;
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
