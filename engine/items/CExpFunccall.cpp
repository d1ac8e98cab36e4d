#include "engine/items/CExpFunccall.h"

#include <algorithm>
#include <array>
#include <new>
#include <span>
#include <stdexcept>

#include "base/CIError.h"
#include "base/CILogManager.h"
#include "engine/builtins/BuiltinTable.h"
#include "engine/expression/LoneOperand.h"
#include "engine/items/CExpFunction.h"
#include "engine/items/CExpVariableUse.h"
#include "engine/items/CExpression.h"
#include "platform/Faults.h"
#include "platform/Interrupt.h"
#include "value/CTextError.h"
#include "value/TypeCode.h"

namespace {

// Most built-ins take at most this many arguments, which are then evaluated
// without allocating.
constexpr size_t kArgumentsInPlace = 4;

// A number parameter takes a number, a string parameter a string: numbers
// and strings do not mix, and an argument without a value (a call of a
// void function) suits neither.
bool ParameterTakes(int paramType, int argType) {
    if (IsNumericType(paramType)) return IsNumericType(argType);
    return !IsStringType(paramType) || IsStringType(argType);
}

// A call that failed as a person is told it: one that Ctrl-C cancelled is
// no failure whose reason could be anywhere, and the log file is named only
// when the call left a record there.
Diag FailureAsTold(Diag failure, size_t recordsBefore) {
    if (failure != Diag::BuiltinFailed) return failure;
    if (InterruptRequested()) return Diag::BuiltinCancelled;
    return GlobalLog().RecordsWritten() != recordsBefore ? Diag::BuiltinFailedLogged : failure;
}

}  // namespace

CExpFunccall::CExpFunccall(CExpFunction* callee, std::pmr::memory_resource* storage)
    : CExpItem(EXP_FUNCCALL), callee_(callee), arguments_(storage) {}

bool CExpFunccall::Parse(CExpSource& source) {
    SetPosition(source.position);
    source.Advance();   // the name
    source.SkipBlanks();
    if (!source.At(TokenKind::LParen)) {
        source.AddDiag(source.position, Diag::CallNoArguments);
        return true;
    }
    if (!ParseArguments(source)) return true;
    source.SkipBlanks();
    if (!source.At(TokenKind::RParen)) {
        source.AddDiag(source.position, Diag::CallMissingParen);
        return true;
    }
    const int closePosition = source.position;
    source.Advance();
    CheckArguments(source, closePosition);
    return true;
}

bool CExpFunccall::ParseArguments(CExpSource& source) {
    do {
        source.Advance();   // over the "(" or ","
        source.SkipBlanks();
        if (source.AtEnd()) break;
        CExpItem* argument = ParseArgument(source);
        if (source.HasDiag()) return false;
        if (argument != nullptr) {
            argument->SetParent(this);
            arguments_.push_back(argument);
        } else if (arguments_.empty()) {
            break;   // «name()»
        } else {
            source.AddDiag(source.position, Diag::ArgumentOmitted);
        }
        source.SkipBlanks();
    } while (source.AtOperator(OP_COMMA));
    return true;
}

// A bare variable name, even in parentheses, is passed as the use of the
// variable itself, so an output parameter can write to it.
CExpItem* CExpFunccall::ParseArgument(CExpSource& source) {
    if (CExpItem* lone = ReadLoneOperand(source, *this, TokenKind::RParen)) return lone;
    const int start = source.position;
    auto* expression = source.Workspace().New<CExpression>();
    expression->SetParent(this);
    if (!expression->ParseExpression(source, true)) return nullptr;
    CExpItem* sole = ThroughParentheses(*expression);
    if (sole != nullptr && IsVariableUse(*sole)) return sole;
    expression->SetPosition(start);
    return expression;
}

const FunctionParam* CExpFunccall::ParamAt(size_t index) const {
    const std::vector<FunctionParam>& params = callee_->Params();
    if (index < params.size()) return &params[index];
    if (!params.empty() && params.back().variadic) return &params.back();
    return nullptr;
}

// A variadic last entry may also stand for no argument at all.
bool CExpFunccall::CountFits() const {
    const std::vector<FunctionParam>& params = callee_->Params();
    const size_t given = ChildCount();
    return given >= params.size() || (given + 1 == params.size() && params.back().variadic);
}

void CExpFunccall::CheckArguments(CExpSource& source, int closePosition) {
    if (!CountFits()) {
        source.AddDiag(closePosition, Diag::ArgumentOmitted);
        return;
    }
    for (size_t i = 0; i < ChildCount(); ++i) {
        const CExpItem* argument = Child(i);
        const FunctionParam* param = ParamAt(i);
        Diag problem = Diag::Count;
        if (param == nullptr) {
            problem = Diag::CallTooManyArguments;
        } else if (param->variadic) {
            continue;
        } else if (param->byReference && argument->Kind() != EXP_VARIABLE_USE) {
            problem = Diag::ArgumentNotVariable;
        } else if (!ParameterTakes(param->type, argument->ValueType())) {
            problem = Diag::ArgumentTypeMismatch;
        }
        if (problem != Diag::Count) {
            source.AddDiag(argument->Position(), problem);
            return;
        }
    }
}

std::string CExpFunccall::Text() const {
    std::string text = "(";
    for (size_t i = 0; i < ChildCount(); ++i) {
        if (i > 0) text += ", ";
        text += Child(i)->Text();
    }
    return text + ")";
}

int CExpFunccall::ValueType() const { return callee_ ? callee_->ValueType() : 0; }

bool CExpFunccall::Execute(CExpContext& context) {
    if (callee_->Number() == CExpFunction::kUserFunction) {
        context.AddDiag(Position(), Diag::UserFunctionCall);
        return false;
    }
    // Failures of the C library and of value conversions inside a call
    // become the call's diagnostic; the line fails, the session goes on.
    try {
        return RunBuiltin(context);
    } catch (const CInvPrmException&) {
        GlobalLog().Log(CILogManager::ERROR, "%s", "_invalid_parameter");
    } catch (const CInterruption&) {
        // Ctrl-C stopped the call's work: as when it cancels a wait.
        context.AddDiag(Position(), Diag::BuiltinCancelled);
        return false;
    } catch (const std::bad_alloc&) {
        context.AddDiag(Position(), Diag::BuiltinFailed);
        return false;
    } catch (const CIError& error) {
        // the string class out of room: as much out of memory
        if (!IsOutOfRoom(error)) throw;
        context.AddDiag(Position(), Diag::BuiltinFailed);
        return false;
    } catch (const std::exception&) {
        // a math error, or another failure of the C library
    } catch (const CTextError&) {
        // a conversion the value model refuses
    }
    context.AddDiag(Position(), Diag::BuiltinException);
    return false;
}

// Only the declared parameters are evaluated; a variadic entry takes in
// every argument from its place on (formatted output needs them all).
size_t CExpFunccall::EvaluatedCount() const {
    const std::vector<FunctionParam>& params = callee_->Params();
    const bool variadic = !params.empty() && params.back().variadic;
    return variadic ? ChildCount() : std::min(params.size(), ChildCount());
}

bool CExpFunccall::RunBuiltin(CExpContext& context) {
    const size_t count = EvaluatedCount();
    std::array<CValueData, kArgumentsInPlace> inPlace;
    std::vector<CValueData> many(count > kArgumentsInPlace ? count : 0);
    const std::span<CValueData> values = count > kArgumentsInPlace ? std::span<CValueData>(many)
                                                                   : std::span<CValueData>(inPlace).first(count);
    for (size_t i = 0; i < count; ++i) {
        if (!Child(i)->Execute(context)) return false;
        values[i] = std::move(context.value);
    }
    CBuiltinCall call(callee_->Number(), values);
    const size_t recordsBefore = GlobalLog().RecordsWritten();
    if (!BuiltinImplementation(callee_->Number())(call)) {
        context.AddDiag(Position(), FailureAsTold(call.Failure(), recordsBefore));
        return false;
    }
    // Ctrl-C at a terminal while the call waited or worked abandons the line
    // here, before an output argument is written.
    if (InterruptRequested()) {
        context.AddDiag(Position(), Diag::BuiltinCancelled);
        return false;
    }
    if (!WriteOutputs(call, context)) return false;
    context.value = call.Result();
    return true;
}

bool CExpFunccall::WriteOutputs(const CBuiltinCall& call, CExpContext& context) const {
    const std::vector<FunctionParam>& params = callee_->Params();
    for (size_t i = 0; i < params.size() && i < ChildCount(); ++i) {
        if (!params[i].byReference || Child(i)->Kind() != EXP_VARIABLE_USE) continue;
        if (!static_cast<CExpVariableUse*>(Child(i))->Write(call.Output(i), context)) return false;
    }
    return true;
}
