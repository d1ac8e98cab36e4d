#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "engine/Diagnostics.h"
#include "engine/expression/ReadingRules.h"
#include "engine/items/CursorState.h"
#include "value/CValueData.h"

class CExpItem;

// An operand waiting for its operator. Literals and variables stay tokens
// until an operator takes them, so a line of a million operands without
// operators costs no items; a part of the line whose value is known is
// worked out as it is read and kept as that value.
struct Operand {
    enum class Form : uint8_t {
        Item,       // an item made already (a call, a group, an operator's tree)
        Literal,    // a literal token
        Bool,       // "true" or "false"
        Variable,   // a variable's name
        Element,    // an array element whose subscripts are plain numbers, kept as its tokens
        Value,      // a part of the line worked out to its value
    };
    Form form = Form::Item;
    bool constant = false;   // Value: worked out from literals alone
    // The operator at the root of the operand's tree, which decides where the
    // tree may stand (MayStandAsOperand).
    OperandRoot root = {OP_NONE, Level::Waiting};
    int32_t height = 0;       // levels of its tree above its leaves
    int32_t staticType = 0;   // the static type of its tree
    int32_t position = 0;     // where the item it stands for stands
    int32_t token = -1;       // Literal, Element: its (first) token
    // The first failure the tree building meets in this operand's tree when
    // it takes the operands of an operator from the last one back; its
    // position is -1 for none.
    CExpDiag failure = {-1, Diag::Count};
    // Operators that lack operands lie along the first operand of the first
    // operand …, so only the bottom operand of the stack holds such records:
    // this many records of ExpressionStacks::softFaults, from the
    // expression's own, come before its failure.
    int32_t softFaults = 0;
    // Item: the item, or null once the tree can no longer come out whole;
    // Variable, Element: the variable or array it uses.
    CExpItem* item = nullptr;
    const CValueData* literal = nullptr;   // Literal, Bool, Element: its value
    CValueData value;                      // Value: what its tree comes to

    bool HasFailed() const { return failure.position >= 0; }
    // Records the first failure of its tree; a later one adds nothing.
    void Fail(int at, Diag id) {
        if (!HasFailed()) failure = {at, id};
    }
};

// Whether an operand of this form counts as a constant: literals do,
// variables do not, and a value worked out knows which it came from
// (constant).
constexpr bool IsConstantOperand(Operand::Form form, bool constant) {
    return form == Operand::Form::Value ? constant : form != Operand::Form::Variable;
}

// Whether a group read in line whose one operand has this form comes to a
// value: a literal or a value worked out does; a variable or an element
// alone in parentheses makes the group an item of its own.
constexpr bool GroupComesToValue(Operand::Form inner) {
    return inner == Operand::Form::Literal || inner == Operand::Form::Bool || inner == Operand::Form::Value;
}

// The levels of an element's tree read from its text: the element, its
// bracket list, the numbers.
inline constexpr int32_t kKnownElementHeight = 2;

// What the builder knows of the items read so far in the expression, or in
// the group read in line that it is reading.
struct ScanState {
    size_t itemCount = 0;
    int32_t firstOutput = -1;   // the position of the first item of the postfix order
    // The last item read: an operand (and whether a variable), or an
    // operator (and whether "++" or "--").
    bool lastWasOperand = false;
    bool lastWasVariable = false;
    bool lastWasIncrement = false;
};

// A parenthesised group read in line (without an item of its own) while it
// still can come to a value: where the stacks, the cursor and the scan stood
// at its "(".
struct GroupInLine {
    size_t operandBase;
    size_t operatorBase;
    CursorMark cursor;   // its position is the "("'s
    ScanState scan;
};

// The working stacks of the expression builder. Expressions nest (a
// parenthesis parses its inner expression while the outer one waits), so
// each reading uses the part above where the stacks stood when it began and
// leaves them as it found them. They are kept from line to line, so their
// capacity serves every later line without allocating.
struct ExpressionStacks {
    std::vector<Operand> operands;
    std::vector<PendingOperator> operators;
    std::vector<CExpDiag> softFaults;
    std::vector<GroupInLine> groups;

    void Clear() {
        operands.clear();
        operators.clear();
        softFaults.clear();
        groups.clear();
    }
};

// The part of one of the stacks that one reading of an expression uses: what
// lies above where the stack stood when the reading began, which it leaves
// as it found it. What it counts starts at the innermost group it reads in
// line, or at that beginning.
template <class T>
class StackPart {
public:
    explicit StackPart(std::vector<T>& stack) : stack_(stack), base_(stack.size()), countFrom_(base_) {}
    ~StackPart() { stack_.resize(base_); }
    StackPart(const StackPart&) = delete;
    StackPart& operator=(const StackPart&) = delete;

    size_t Count() const { return stack_.size() - countFrom_; }
    void CountFrom(size_t size) { countFrom_ = size; }
    // Where the reading began, and where the whole stack ends.
    size_t Base() const { return base_; }
    size_t Size() const { return stack_.size(); }

    T& Top() { return stack_.back(); }
    // The last count items, bottom first.
    T* Top(size_t count) { return stack_.data() + stack_.size() - count; }
    T& At(size_t index) { return stack_[index]; }
    void Push(T item) { stack_.push_back(std::move(item)); }
    T& Emplace() { return stack_.emplace_back(); }
    T Pop() {
        T top = std::move(stack_.back());
        stack_.pop_back();
        return top;
    }
    void DropFrom(size_t size) { stack_.resize(size); }

private:
    std::vector<T>& stack_;
    const size_t base_;
    size_t countFrom_;
};
