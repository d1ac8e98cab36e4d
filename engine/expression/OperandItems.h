#pragma once

#include <span>

#include "engine/expression/ExpressionStacks.h"

class CExpItem;
struct ParseWorkspace;

// Makes the item an operand stands for, once the tree needs one: an operand
// stays a token or a value until an operator that cannot be worked out
// takes it, or it is the root of the expression.
class OperandItems {
public:
    explicit OperandItems(ParseWorkspace& workspace) : workspace_(workspace) {}

    CExpItem* Make(const Operand& operand) const;
    // The operator op as an item over the items its operands stand for, in
    // text order.
    CExpItem* NewOperator(const PendingOperator& op, std::span<const Operand> operands) const;
    // The literal a part of the line was worked out to (folded), standing
    // where the part's root stands.
    static CExpItem* NewFolded(ParseWorkspace& workspace, const CValueData& value, int staticType, bool constant,
                               int position);

private:
    // An element whose subscripts are plain numbers, made from its tokens.
    CExpItem* NewElement(const Operand& operand) const;

    ParseWorkspace& workspace_;
};
