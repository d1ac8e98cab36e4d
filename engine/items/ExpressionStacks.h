#pragma once

#include <cstdint>
#include <vector>

#include "engine/Diagnostics.h"
#include "engine/lexer/OperatorTable.h"
#include "value/CValueData.h"

class CExpItem;

// The working stacks of the expression parser. Expressions nest (a
// parenthesis parses its inner expression while the outer one waits), so
// each parse uses the part above where the stacks stood when it began and
// leaves them as it found them. They are kept from line to line, so their
// capacity serves every later line without allocating.
struct ExpressionStacks {
    // An operand waiting for its operator. Literals and variables stay
    // tokens until an operator takes them, so a line of a million operands
    // without operators costs no items; a pure part of the line is worked
    // out to its value as it is read.
    struct Operand {
        // Element: an array element whose subscripts are plain numbers, kept
        // as its name's token until its item is needed.
        enum class Form : uint8_t { Item, Literal, Bool, Variable, Element, Value };
        Form form;
        int8_t rootCode;           // the operator at its root, or -1
        uint8_t rootPrecedence;
        bool constant;             // Value: worked out from literals alone
        // The first failure the tree builder meets in this operand's tree
        // when it takes the operands of an operator from the last one back.
        Diag failure;
        int32_t failurePosition;   // -1 for none
        int32_t height;            // levels of its tree above its leaves
        int32_t token;             // Literal, Bool, Variable, Element: its (first) token
        // Operators that lack operands lie along the first operand of the
        // first operand …, so only the bottom operand of the stack holds
        // such records: the first softFaults records of softFaults below
        // that come before its failure.
        int32_t softFaults;
        int32_t staticType;        // the static type of its tree
        int32_t position;          // Value: the position of the item it stands for
        // Item: the item, or null once the tree can no longer come out
        // whole; Variable, Element: the variable or array it uses.
        CExpItem* item;
        const CValueData* literal;   // Literal, Bool, Element: its value
        CValueData value;            // Value: what its tree comes to
    };
    // An operator waiting for its operands.
    struct Operator {
        int32_t position;
        uint8_t row;
        int8_t code;
        uint8_t precedence;
        bool waitsForColon;   // a "?" whose ":" has not come yet
    };

    // A parenthesised group read in line (without an item of its own) while
    // it still can come to a value: where the stacks and the reader stood at
    // its "(".
    struct Group {
        size_t operandBase;
        size_t operatorBase;
        size_t token;
        int32_t position;     // of the "("
        int32_t firstOutput;
        size_t itemCount;
        bool lastWasOperand;
        bool lastWasVariable;
        bool lastWasIncrement;
        bool mayChangeVariables;
    };

    std::vector<Operand> operands;
    std::vector<Operator> operators;
    std::vector<CExpDiag> softFaults;
    std::vector<Group> groups;
};

// Whether the operator on top of the pending stack is applied before the
// arriving operator is pushed.
inline bool AppliesBefore(const ExpressionStacks::Operator& top, const ExpressionStacks::Operator& arriving) {
    // Everything between a ":" and the "?" it closes belongs to the middle
    // operand, even "=", "," and a "?" that is complete.
    if (arriving.code == OP_COLON && (top.code == OP_ASSIGN || top.code == OP_COMMA || top.code == OP_COND)) {
        return true;
    }
    return top.precedence < arriving.precedence ||
           (top.precedence == arriving.precedence && OperatorRow(top.row).rightToLeft == 0);
}
