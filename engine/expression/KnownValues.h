#pragma once

#include <cstddef>
#include <string_view>

#include "engine/expression/ExpressionStacks.h"

class CExpItem;
class CExpSource;
class CExpVararray;

// The values of a line's parts that are known while the line is read, and
// so are worked out then (folding): literals always; variables and array
// elements while nothing the line runs before them can change them; a pure
// operator over known operands, with the rules it would run with; a group
// whose expression came to a value; a call of a pure built-in over known
// arguments, run as it would run with the line. Running such a part could
// only give that value again; a part whose working out would fail is left
// to the run, which reports it.
class KnownValues {
public:
    explicit KnownValues(const CExpSource& source) : source_(source) {}

    // Whether the reader works parts of lines out at all.
    bool Folding() const;

    // The value the operand is known to have; null when it is only known
    // when the line runs.
    const CValueData* Of(const Operand& operand) const;
    // The value of the variable, known while nothing before it in the line
    // can change it; null otherwise, and for a reference that is not bound.
    const CValueData* OfVariable(const CExpItem& variable) const;
    // The value of "true" or "false".
    static const CValueData& OfBoolWord(std::string_view word);
    // An argument or a subscript: a literal, a value worked out, or a
    // variable, in parentheses or not.
    const CValueData* OfItem(CExpItem& item) const;
    // The element «name[2][3]» of array, with a plain number for each
    // subscript, read from its tokens (the name is token name); null, with
    // nothing read, for any other text. last is then its last token.
    const CValueData* OfElementText(const CExpVararray& array, size_t name, size_t& last) const;

    // Works the pending operator op out over its arity operands, which it
    // takes from the top of the operand stack: the result takes the place
    // of the first. False, with the operands untouched, unless the operator
    // is pure, every operand is known and sound where it stands, and working
    // it out succeeds.
    bool Apply(const PendingOperator& op, Operand* operands, size_t arity) const;
    // A group item whose expression came to a value, and a call of a pure
    // built-in whose arguments did, become that value; false for any other
    // item.
    bool TakeGroup(Operand& operand) const;
    bool TakeCall(Operand& operand) const;

private:
    const CValueData* OfElement(const CExpItem& item) const;
    // The operator over values, noting a signed result that wrapped where
    // the line's notes are kept.
    bool Work(const PendingOperator& op, const CValueData& left, const CValueData* right, int leftType,
              int rightType, CValueData& result, int& type) const;

    const CExpSource& source_;
};
