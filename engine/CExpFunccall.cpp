#include "engine/CExpFunccall.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <stdexcept>

#include "base/CIError.h"
#include "base/CILogManager.h"
#include "engine/Builtins.h"
#include "engine/CExpFunction.h"
#include "engine/CExpReference.h"
#include "engine/CExpression.h"
#include "engine/ParseHelpers.h"
#include "platform/Faults.h"
#include "value/CTextError.h"
#include "value/TypeCode.h"

namespace {

constexpr int kNoArguments = 1;      // "関数の引数がありません"
constexpr int kMissingParen = 2;     // ") がありません"
constexpr int kTooManyArgs = 3;      // "関数の引数の数が合っていません"
constexpr int kArgOmitted = 4;       // "引数は省略できません"
constexpr int kArgNotVariable = 5;   // "引数は変数でなければなりません"
constexpr int kArgTypeMismatch = 6;  // "引数の型が合っていません"
constexpr int kUserCall = 199;       // "ユーザ定義関数式は現在使用できません"

bool IsReferenceKind(const CExpItem* item) {
    return item->Kind() == EXP_REFERENCE || item->Kind() == EXP_REFARRAY;
}

// The single item an expression consists of, looking through parentheses
// that hold nothing else; null when the expression is more than one item.
CExpItem* SoleItem(CExpItem* expression) {
    CExpItem* item = expression->ChildCount() == 1 ? expression->Child(0) : nullptr;
    while (item != nullptr && item->Kind() == EXP_KAKKO && item->ChildCount() == 1) {
        CExpItem* inner = item->Child(0);
        item = inner->ChildCount() == 1 ? inner->Child(0) : nullptr;
    }
    return item;
}

// Numbers and strings do not mix; an argument without a type (a call of a
// void function) is left to the built-in.
bool TypesClash(int paramType, int argType) {
    const bool paramNumeric = IsNumericType(paramType);
    return (IsNumericType(argType) && !paramNumeric) || (IsStringType(argType) && !IsStringType(paramType));
}

}  // namespace

bool CExpFunccall::Parse(CExpSource& source, const std::string& text) {
    callee_ = static_cast<CExpFunction*>(ParseDeclaredName(source, text, EXP_FUNCTION));
    if (callee_ == nullptr) return false;
    SkipBlanks(source, text);
    if (CurrentChar(source, text) != '(') {
        source.AddDiag(source.position, EXP_FUNCCALL, kNoArguments);
        return true;
    }
    if (!ParseArguments(source, text)) return true;
    SkipBlanks(source, text);
    if (CurrentChar(source, text) != ')') {
        source.AddDiag(source.position, EXP_FUNCCALL, kMissingParen);
        return true;
    }
    const int closePosition = source.position++;
    CheckArguments(source, closePosition);
    return true;
}

bool CExpFunccall::ParseArguments(CExpSource& source, const std::string& text) {
    do {
        ++source.position;   // over the "(" or ","
        SkipBlanks(source, text);
        if (AtEnd(source, text)) break;
        std::unique_ptr<CExpItem> argument = ParseArgument(source, text);
        if (source.HasDiag()) return false;
        if (argument) {
            AppendChild(std::move(argument));
        } else if (ChildCount() == 0) {
            break;   // «name()»
        } else {
            source.AddDiag(source.position, EXP_FUNCCALL, kArgOmitted);
        }
        SkipBlanks(source, text);
    } while (CurrentChar(source, text) == ',');
    return true;
}

// A bare variable name, even in parentheses, is passed as the reference item
// itself, so an output parameter can write to it.
std::unique_ptr<CExpItem> CExpFunccall::ParseArgument(CExpSource& source, const std::string& text) {
    const int start = source.position;
    auto expression = MakeCandidate<CExpression>(this);
    if (!expression->ParseExpression(source, text, true)) return nullptr;
    CExpItem* sole = SoleItem(expression.get());
    if (sole != nullptr && IsReferenceKind(sole)) return sole->Parent()->RemoveChild(sole);
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
        source.AddDiag(closePosition, EXP_FUNCCALL, kArgOmitted);
        return;
    }
    for (size_t i = 0; i < ChildCount(); ++i) {
        const CExpItem* argument = Child(i);
        const FunctionParam* param = ParamAt(i);
        int problem = 0;
        if (param == nullptr) {
            problem = kTooManyArgs;
        } else if (param->variadic) {
            continue;
        } else if (param->byReference && argument->Kind() != EXP_REFERENCE) {
            problem = kArgNotVariable;
        } else if (TypesClash(param->type, argument->ValueType())) {
            problem = kArgTypeMismatch;
        }
        if (problem != 0) {
            source.AddDiag(argument->Position(), EXP_FUNCCALL, problem);
            return;
        }
    }
}

bool CExpFunccall::Check(CExpSource& source) {
    if (!CExpItem::Check(source)) return false;
    if (callee_ == nullptr) return true;
    const std::vector<FunctionParam>& params = callee_->Params();
    for (size_t i = 0; i < params.size() && i < ChildCount() && !params[i].variadic; ++i) {
        const int want = params[i].type;
        const int have = Child(i)->ValueType();
        const bool fits = IsNumericType(want) ? IsNumericType(have) : !IsStringType(want) || IsStringType(have);
        if (!fits) {
            source.AddDiag(Child(i)->Position(), EXP_FUNCCALL, kArgTypeMismatch);
            return false;
        }
    }
    return true;
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
    if (callee_ == nullptr) return false;
    if (callee_->Number() == CExpFunction::kUserFunction) {
        context.AddDiag(Position(), EXP_FUNCCALL, kUserCall);
        return false;
    }
    // Failures of the C library and of value conversions inside a call
    // become the call's diagnostic; the line fails, the session goes on.
    try {
        return RunBuiltin(context);
    } catch (const CInvPrmException&) {
        char text[256];
        std::snprintf(text, sizeof text, "%s", "_invalid_parameter");
        GlobalLog().Log(CILogManager::ERROR, "%s", text);
    } catch (const std::bad_alloc&) {
        context.AddDiag(Position(), EXP_FUNCCALL, kBuiltinFailed);
        return false;
    } catch (const CIMemoryError&) {
        // the string class's own memory error: as much out of memory
        context.AddDiag(Position(), EXP_FUNCCALL, kBuiltinFailed);
        return false;
    } catch (const std::exception&) {
        // a math error, or another failure of the C library
    } catch (const CTextError&) {
        // a conversion the value model refuses
    }
    context.AddDiag(Position(), EXP_FUNCCALL, kBuiltinException);
    return false;
}

bool CExpFunccall::RunBuiltin(CExpContext& context) {
    std::vector<CValueData> values;
    if (!EvaluateArguments(context, values)) return false;
    CBuiltinCall call(callee_->Number(), values);
    if (!BuiltinImplementations().at(callee_->Number())(call)) {
        context.AddDiag(Position(), EXP_FUNCCALL, call.FailureCode());
        return false;
    }
    if (!WriteOutputs(call, context)) return false;
    context.value = call.Result();
    return true;
}

// Only the declared parameters are evaluated; a variadic entry takes in
// every argument from its place on (formatted output needs them all).
bool CExpFunccall::EvaluateArguments(CExpContext& context, std::vector<CValueData>& values) const {
    const std::vector<FunctionParam>& params = callee_->Params();
    const bool variadic = !params.empty() && params.back().variadic;
    const size_t count = variadic ? ChildCount() : std::min(params.size(), ChildCount());
    for (size_t i = 0; i < count; ++i) {
        CExpContext argument;
        if (!Child(i)->Execute(argument)) {
            context.diags.AddAll(argument.diags);
            return false;
        }
        values.push_back(std::move(argument.value));
    }
    return true;
}

bool CExpFunccall::WriteOutputs(const CBuiltinCall& call, CExpContext& context) const {
    const std::vector<FunctionParam>& params = callee_->Params();
    for (size_t i = 0; i < params.size() && i < ChildCount(); ++i) {
        if (!params[i].byReference || Child(i)->Kind() != EXP_REFERENCE) continue;
        if (!static_cast<CExpReference*>(Child(i))->Write(call.Output(i), context)) return false;
    }
    return true;
}
