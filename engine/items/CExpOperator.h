#pragma once

#include <array>
#include <cstdint>

#include "engine/items/CExpItem.h"
#include "engine/lexer/OperatorTable.h"

// Applies one operator of the operator table to its operand children, which
// are in text order (operand 1 is the left one). The parser decides the
// operator's code (unary or binary, prefix or postfix) from its neighbours;
// how it is checked and run are columns of the code's row.
class CExpOperator final : public CExpItem {
public:
    // Its members are plain values, pointers and storage in the line arena.
    static constexpr bool kNothingToRelease = true;

    // The operator of the given code, as the parser re-coded it.
    CExpOperator(int code, int position);

    std::string Text() const override { return OperatorRow(code_).text; }
    bool Execute(CExpContext& context) override;
    bool Check(CExpSource& source) override;
    int ValueType() const override;
    size_t ChildCount() const override { return count_; }
    CExpItem* Child(size_t i) const override { return operands_[i]; }

    // Appends the next operand, left to right.
    void AddOperand(CExpItem* operand);
    int Code() const { return code_; }

    // Works out a pure operator (one that only computes a value from its
    // operands' values: «+», «<<», «!» …) over operand values known while the
    // line is read, with the same rules as when it runs: one or two values
    // (right is null for a unary operator) whose static types are given.
    // True with its value in result and its static type in type; false when
    // the operator is not pure, takes another number of operands, its check
    // refuses the types, or running it would fail or raise, which the line's
    // run then reports. result is untouched then, so it may be the storage
    // of left.
    static bool ApplyToValues(int code, const CValueData& left, const CValueData* right, int leftType,
                              int rightType, CValueData& result, int& type);

private:
    int ComputeValueType() const;

    std::array<CExpItem*, 3> operands_{};
    uint8_t count_ = 0;
    int8_t code_;
    int staticType_ = -1;   // known once Check has passed
};
