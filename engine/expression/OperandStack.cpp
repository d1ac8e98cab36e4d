#include "engine/expression/OperandStack.h"

#include <algorithm>

#include "engine/items/CExpOperator.h"
#include "engine/items/CExpSource.h"

OperandStack::OperandStack(CExpSource& source, ExpressionStacks& stacks, const KnownValues& known)
    : source_(source),
      known_(known),
      items_(source.Workspace()),
      operands_(stacks.operands),
      softFaults_(stacks.softFaults) {}

Operand& OperandStack::Push(Operand::Form form, int32_t position, CExpItem* item) {
    Operand& operand = operands_.Emplace();
    operand.form = form;
    operand.position = position;
    operand.item = item;
    return operand;
}

bool OperandStack::ApplyKnown(const PendingOperator& op, size_t arity) {
    if (!building_ || Count() < arity) return false;
    if (!known_.Apply(op, operands_.Top(arity), arity)) return false;
    if (arity == 2) operands_.Pop();
    return true;
}

void OperandStack::ApplyBuilding(const PendingOperator& op, size_t arity) {
    const size_t taken = std::min(arity, Count());
    const size_t first = Size() - taken;
    Operand result;
    result.root = {op.code, op.level};
    result.position = op.position;

    // The failures in the order the building from the end meets them: the
    // last operand's tree, then whether that operand may stand there, then
    // the operand before it, and so on.
    bool passedBeforeFirst = false;   // the failure lies in an operand after the first
    bool depthPassed = false;
    for (size_t j = taken; j-- > 0;) {
        const Operand& operand = operands_.At(first + j);
        const size_t slot = taken - 1 - j;
        if (operand.HasFailed()) result.Fail(operand.failure.position, operand.failure.id);
        if (!MayStandAsOperand(op.code, op.level, slot, operand.root)) {
            result.Fail(op.position, Diag::MissingOperand);
        }
        if (!FitsDepth(operand.height + 1)) {
            result.Fail(op.position, Diag::SyntaxError);
            depthPassed = true;
        }
        if (j > 0 && result.HasFailed()) passedBeforeFirst = true;
        result.height = std::max(result.height, operand.height + 1);
    }

    // Only an operator that took the bottom operand can hold records of
    // missing operands; an operator short of operands adds its own.
    if (first == Base()) {
        const int32_t inherited = taken > 0 ? operands_.At(first).softFaults : 0;
        softFaults_.DropFrom(softFaults_.Base() + static_cast<size_t>(inherited));
        if (!passedBeforeFirst) {
            result.softFaults = inherited;
            if (!result.HasFailed() && taken < arity) {
                softFaults_.Push({op.position, Diag::MissingOperand});
                ++result.softFaults;
            }
        }
    }

    if (result.HasFailed()) building_ = false;
    if (building_) {
        result.item = items_.NewOperator(op, std::span<const Operand>(operands_.Top(taken), taken));
        result.staticType = result.item->ValueType();
    }
    NoteAppliedAsItem(source_, op.code);
    operands_.DropFrom(first);
    operands_.Push(std::move(result));
    if (depthPassed) Refuse(operands_.Top());
}

void OperandStack::Refuse(const Operand& operand) {
    RecordFaults(operand);
    refused_ = true;
}

void OperandStack::RecordFaults(const Operand& operand) {
    for (size_t i = 0; i < static_cast<size_t>(operand.softFaults); ++i) {
        const CExpDiag& record = softFaults_.At(softFaults_.Base() + i);
        source_.AddDiag(record.position, record.id);
    }
    if (operand.HasFailed()) source_.AddDiag(operand.failure.position, operand.failure.id);
}
