#include "engine/expression/OperandItems.h"

#include "engine/items/CExpBracketList.h"
#include "engine/items/CExpConstant.h"
#include "engine/items/CExpElementUse.h"
#include "engine/items/CExpOperator.h"
#include "engine/items/CExpVararray.h"
#include "engine/items/CExpVariable.h"
#include "engine/items/CExpVariableUse.h"
#include "engine/items/ParseWorkspace.h"
#include "value/CArrayData.h"

CExpItem* OperandItems::Make(const Operand& operand) const {
    CExpItem* item = nullptr;
    switch (operand.form) {
        case Operand::Form::Item: return operand.item;
        case Operand::Form::Value:
            return NewFolded(workspace_, operand.value, operand.staticType, operand.constant, operand.position);
        case Operand::Form::Element: item = NewElement(operand); break;
        case Operand::Form::Variable:
            item = workspace_.New<CExpVariableUse>(static_cast<CExpVariable*>(operand.item));
            break;
        case Operand::Form::Bool: item = workspace_.New<CExpBoolConst>(*operand.literal); break;
        case Operand::Form::Literal:
            switch (workspace_.lexer.At(static_cast<size_t>(operand.token)).kind) {
                case TokenKind::Fraction: item = workspace_.New<CExpFraConst>(*operand.literal); break;
                case TokenKind::Char: item = workspace_.New<CExpCharConst>(*operand.literal); break;
                case TokenKind::String: item = workspace_.New<CExpStrConst>(*operand.literal); break;
                default: item = workspace_.New<CExpNumConst>(*operand.literal); break;
            }
            break;
    }
    item->SetPosition(operand.position);
    return item;
}

CExpItem* OperandItems::NewOperator(const PendingOperator& op, std::span<const Operand> operands) const {
    auto* item = workspace_.New<CExpOperator>(op.code, op.position);
    for (const Operand& operand : operands) item->AddOperand(Make(operand));
    return item;
}

CExpItem* OperandItems::NewFolded(ParseWorkspace& workspace, const CValueData& value, int staticType, bool constant,
                                  int position) {
    CExpItem* item = workspace.New<CExpFoldedConst>(*workspace.arena.CopyOf(value), staticType, constant);
    item->SetPosition(position);
    return item;
}

// name "[" number "]" …: the element, its bracket list (at the first "["),
// and a number for each subscript, as reading the text would make them.
CExpItem* OperandItems::NewElement(const Operand& operand) const {
    auto* array = static_cast<CExpVararray*>(operand.item);
    CLexer& lexer = workspace_.lexer;
    const auto name = static_cast<size_t>(operand.token);
    auto* subscripts = workspace_.New<CExpBracketList>(&workspace_.arena);
    subscripts->SetPosition(lexer.At(name + 1).start);
    const size_t dimensions = array->Storage()->Dims().size();
    for (size_t i = 0; i < dimensions; ++i) {
        const Token number = lexer.At(name + 2 + 3 * i);
        CExpItem* subscript = workspace_.New<CExpNumConst>(lexer.LiteralOf(number));
        subscript->SetPosition(number.start);
        subscripts->Add(subscript);
    }
    return workspace_.New<CExpElementUse>(array, subscripts);
}
