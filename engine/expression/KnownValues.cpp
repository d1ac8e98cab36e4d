#include "engine/expression/KnownValues.h"

#include <algorithm>
#include <array>
#include <span>

#include "engine/builtins/BuiltinTable.h"
#include "engine/builtins/CBuiltinCall.h"
#include "engine/items/CExpConstant.h"
#include "engine/items/CExpElementUse.h"
#include "engine/items/CExpFunccall.h"
#include "engine/items/CExpFunction.h"
#include "engine/items/CExpOperator.h"
#include "engine/items/CExpSource.h"
#include "engine/items/CExpVararray.h"
#include "engine/items/CExpVariable.h"
#include "engine/items/CExpVariableUse.h"
#include "value/CArrayData.h"

namespace {

// An array has at most this many dimensions for its element to be known.
constexpr size_t kKnownDimensions = 8;
// A pure built-in takes at most this many arguments.
constexpr size_t kKnownArguments = 3;

void TakeValue(Operand& operand, CValueData value, int staticType, bool constant) {
    operand.form = Operand::Form::Value;
    operand.value = std::move(value);
    operand.staticType = staticType;
    operand.constant = constant;
}

bool IsConstant(const Operand& operand) { return IsConstantOperand(operand.form, operand.constant); }

}  // namespace

bool KnownValues::Folding() const { return source_.Workspace().expressions.folding; }

const CValueData* KnownValues::Of(const Operand& operand) const {
    switch (operand.form) {
        case Operand::Form::Value: return &operand.value;
        case Operand::Form::Literal:
        case Operand::Form::Bool: return operand.literal;
        case Operand::Form::Variable: return OfVariable(*operand.item);
        case Operand::Form::Element: return source_.mayChangeVariables ? nullptr : operand.literal;
        case Operand::Form::Item:
            return operand.item->Kind() == EXP_ELEMENT_USE ? OfElement(*operand.item) : nullptr;
    }
    return nullptr;
}

const CValueData* KnownValues::OfVariable(const CExpItem& variable) const {
    return source_.mayChangeVariables ? nullptr : static_cast<const CExpVariable&>(variable).Value();
}

const CValueData& KnownValues::OfBoolWord(std::string_view word) {
    static const CValueData kTrue = CValueData::Bool(true);
    static const CValueData kFalse = CValueData::Bool(false);
    return word == "true" ? kTrue : kFalse;
}

const CValueData* KnownValues::OfItem(CExpItem& item) const {
    const CExpItem* root = ThroughParentheses(item);
    if (const CExpConstant* constant = AsConstant(root)) return &constant->Value();
    if (root != nullptr && root->Kind() == EXP_VARIABLE_USE) {
        return OfVariable(*static_cast<const CExpVariableUse*>(root)->Variable());
    }
    return nullptr;
}

// An element item whose subscripts are known, read while nothing can change
// it.
const CValueData* KnownValues::OfElement(const CExpItem& item) const {
    if (source_.mayChangeVariables) return nullptr;
    const auto& element = static_cast<const CExpElementUse&>(item);
    const CArrayData* storage = element.Array()->Storage();
    const CExpItem* subscripts = element.ChildCount() == 1 ? element.Child(0) : nullptr;
    if (storage == nullptr || subscripts == nullptr || subscripts->ChildCount() != storage->Dims().size()) return nullptr;
    std::array<int32_t, kKnownDimensions> index{};
    if (subscripts->ChildCount() > index.size()) return nullptr;
    for (size_t i = 0; i < subscripts->ChildCount(); ++i) {
        const CValueData* value = OfItem(*subscripts->Child(i));
        // A subscript is converted as the run converts it; a fraction or a
        // string is left to the run.
        if (value == nullptr || !IsNumericType(value->Type()) || value->Type() == VTYPE_FRACTION) return nullptr;
        index[i] = value->AsInt();
    }
    return storage->ElementAt(std::span<const int32_t>(index).first(subscripts->ChildCount()));
}

const CValueData* KnownValues::OfElementText(const CExpVararray& array, size_t name, size_t& last) const {
    const CArrayData* storage = array.Storage();
    if (storage == nullptr || !Folding() || source_.mayChangeVariables) return nullptr;
    const size_t dimensions = storage->Dims().size();
    std::array<int32_t, kKnownDimensions> index{};
    if (dimensions == 0 || dimensions > index.size()) return nullptr;
    CLexer& lexer = source_.Lexer();
    size_t at = name + 1;
    for (size_t i = 0; i < dimensions; ++i, at += 3) {
        const Token open = lexer.At(at);
        const Token number = lexer.At(at + 1);
        if (open.kind != TokenKind::LBracket || number.kind != TokenKind::Number || number.faulty ||
            lexer.At(at + 2).kind != TokenKind::RBracket) {
            return nullptr;
        }
        const CValueData& subscript = lexer.LiteralOf(number);
        if (subscript.Type() != VTYPE_INT) return nullptr;
        index[i] = subscript.AsInt();
    }
    // One more bracket would be one more subscript.
    if (lexer.At(at).kind == TokenKind::LBracket) return nullptr;
    const CValueData* value = storage->ElementAt(std::span<const int32_t>(index).first(dimensions));
    if (value != nullptr) last = at - 1;
    return value;
}

bool KnownValues::Work(const PendingOperator& op, const CValueData& left, const CValueData* right, int leftType,
                       int rightType, CValueData& result, int& type) const {
    if (CValueNoteList* notes = source_.Workspace().notes) [[unlikely]] {
        return CExpOperator::ApplyToValuesNoting(op.code, left, right, leftType, rightType, result, type, *notes,
                                                 op.position);
    }
    return CExpOperator::ApplyToValues(op.code, left, right, leftType, rightType, result, type);
}

bool KnownValues::Apply(const PendingOperator& op, Operand* operands, size_t arity) const {
    if (!Folding() || arity == 0 || arity > 2) return false;
    // The value of operand j, or null when it cannot be worked out with this
    // operator: a tree that failed, that would pass the depth bound, or that
    // may not stand there is for the tree building to report.
    const auto known = [&](size_t j) -> const CValueData* {
        const Operand& operand = operands[j];
        if (operand.HasFailed() || !FitsDepth(operand.height + 1) ||
            !MayStandAsOperand(op.code, op.level, arity - 1 - j, operand.root)) {
            return nullptr;
        }
        return Of(operand);
    };
    const CValueData* left = known(0);
    if (left == nullptr) return false;
    Operand& result = operands[0];
    int type = 0;
    if (arity == 1) {
        if (!Work(op, *left, nullptr, result.staticType, 0, result.value, type)) return false;
        result.constant = IsConstant(result);
        result.height += 1;
    } else {
        const Operand& second = operands[1];
        const CValueData* right = known(1);
        if (right == nullptr || !Work(op, *left, right, result.staticType, second.staticType, result.value, type)) {
            return false;
        }
        result.constant = IsConstant(result) && IsConstant(second);
        result.height = std::max(result.height, second.height) + 1;
    }
    result.form = Operand::Form::Value;
    result.root = {op.code, op.level};
    result.staticType = type;
    result.position = op.position;
    result.item = nullptr;
    return true;
}

bool KnownValues::TakeGroup(Operand& operand) const {
    if (!Folding() || operand.item->Kind() != EXP_KAKKO) return false;
    const CExpConstant* constant = AsConstant(ThroughParentheses(*operand.item));
    if (constant == nullptr) return false;
    TakeValue(operand, constant->Value(), constant->ValueType(), constant->IsConstant());
    return true;
}

// The call is run now, exactly as it would run with the line.
bool KnownValues::TakeCall(Operand& operand) const {
    if (!Folding() || operand.item->Kind() != EXP_FUNCCALL) return false;
    const auto& call = static_cast<const CExpFunccall&>(*operand.item);
    const int number = call.Callee()->Number();
    if (number < 0 || number >= BUILTIN_COUNT || !BuiltinTable()[static_cast<size_t>(number)].IsPure()) return false;
    // A call that recorded a fault is not run: the line fails with it.
    std::array<CValueData, kKnownArguments> arguments;
    if (call.ChildCount() > arguments.size() || source_.HasDiag()) return false;
    for (size_t i = 0; i < call.ChildCount(); ++i) {
        const CValueData* value = OfItem(*call.Child(i));
        if (value == nullptr) return false;
        arguments[i] = *value;
    }
    CBuiltinCall run(number, std::span<const CValueData>(arguments).first(call.ChildCount()));
    try {
        if (!BuiltinImplementation(number)(run)) return false;
    } catch (...) {
        return false;   // the run of the line fails in the same way
    }
    TakeValue(operand, run.Result(), call.Callee()->ValueType(), false);
    return true;
}
