#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/expression/ExpressionStacks.h"
#include "engine/expression/KnownValues.h"
#include "engine/expression/OperandItems.h"

class CExpSource;

// The operands of one expression being read, and the tree built on them as
// its operators are applied: an operator takes its operands off the stack
// and goes on it as one operand, worked out when their values are known
// (KnownValues), else as the operator's item over theirs.
//
// The tree is the tree of the postfix order of the items, built from its
// end: an operator takes the subtrees just before it. A line that is faulty
// in several ways reports what that building from the end meets first: each
// operand remembers the first failure in its tree in that order, and the
// records of operators that lack operands (soft faults).
class OperandStack {
public:
    OperandStack(CExpSource& source, ExpressionStacks& stacks, const KnownValues& known);

    // The operands, counted from the innermost group read in line or from
    // the expression's start.
    size_t Count() const { return operands_.Count(); }
    void CountFrom(size_t size) { operands_.CountFrom(size); }
    size_t Base() const { return operands_.Base(); }
    size_t Size() const { return operands_.Size(); }
    void DropFrom(size_t size) { operands_.DropFrom(size); }
    Operand& Top() { return operands_.Top(); }

    // A leaf of the tree at the top: a token, or an item made already,
    // standing at position.
    Operand& Push(Operand::Form form, int32_t position, CExpItem* item);

    // Items are made only while the tree can still come out whole.
    bool Building() const { return building_; }
    void StopBuilding() { building_ = false; }
    // The line passed the depth bound and is refused.
    bool Refused() const { return refused_; }

    // The operator op over the operands on top, worked out; false, with
    // nothing changed, when it cannot be.
    bool ApplyKnown(const PendingOperator& op, size_t arity);
    // The operator op over the operands on top, as a subtree with the
    // failures of its operands and its own. An operator short of operands
    // takes what there is.
    void ApplyBuilding(const PendingOperator& op, size_t arity);
    // The line passed the depth bound: it is refused at once, with what the
    // building from the end would have met before.
    void Refuse(const Operand& operand);
    // Records what the building from the end met in the tree of operand:
    // the soft faults, then its failure.
    void RecordFaults(const Operand& operand);
    // The item the operand stands for.
    CExpItem* ItemOf(const Operand& operand) const { return items_.Make(operand); }

private:
    CExpSource& source_;
    const KnownValues& known_;
    OperandItems items_;
    StackPart<Operand> operands_;
    StackPart<CExpDiag> softFaults_;
    bool building_ = true;
    bool refused_ = false;
};
