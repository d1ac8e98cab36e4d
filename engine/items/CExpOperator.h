#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "engine/items/CExpItem.h"
#include "engine/lexer/OperatorTable.h"

// Applies one operator of the operator table to its operand children, which
// are in text order (operand 1 is the left one). The parser decides the
// operator's code (unary or binary, prefix or postfix) from its neighbours.
class CExpOperator final : public CExpItem {
public:
    // The operator of the given table row, as the parser re-coded it.
    CExpOperator(int row, int code, int position);

    std::string Text() const override { return OperatorRow(row_).text; }
    bool Execute(CExpContext& context) override;
    bool Check(CExpSource& source) override;
    int ValueType() const override;
    size_t ChildCount() const override { return count_; }
    CExpItem* Child(size_t i) const override { return operands_[i]; }

    // Appends the next operand, left to right.
    void AddOperand(CExpItem* operand);
    int Code() const { return code_; }

    // What the parser may work out while it reads a line: the operators that
    // only compute a value from their operands' values («+», «<<», «!» …),
    // with the same rules as when they run.
    static bool IsPure(int code);
    // Works out a pure operator over operand values known while the line is
    // read, whose static types are given: its static type, with its value
    // in result; nothing when its check refuses the types or running it
    // would fail or raise, which the line's run then reports.
    static std::optional<int> Fold(int code, std::span<const CValueData* const> values, std::span<const int> types,
                                   CValueData& result);

private:
    int ComputeValueType() const;

    std::array<CExpItem*, 3> operands_{};
    uint8_t count_ = 0;
    uint8_t row_;
    int8_t code_;
    int staticType_ = -1;   // known once Check has passed
};
