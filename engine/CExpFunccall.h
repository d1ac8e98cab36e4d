#pragma once

#include <memory>
#include <vector>

#include "engine/CExpItem.h"

class CBuiltinCall;
class CExpFunction;

// A call «name(arguments)»; the arguments are its children, each either a
// bare variable reference (so that an output parameter can be written) or
// the expression the parser built for it.
class CExpFunccall final : public CExpItem {
public:
    CExpFunccall() : CExpItem(EXP_FUNCCALL) {}

    // call -> name '(' [argument {',' argument}] ')'
    bool Parse(CExpSource& source, const std::string& text) override;
    std::string Text() const override;
    bool IsConstant() const override { return false; }
    bool Execute(CExpContext& context) override;
    bool Check(CExpSource& source) override;
    int ValueType() const override;

    CExpFunction* Callee() const { return callee_; }

private:
    // Parses the arguments after the "("; false when a diagnostic ends the call.
    bool ParseArguments(CExpSource& source, const std::string& text);
    // One argument; null when there is none at the cursor.
    std::unique_ptr<CExpItem> ParseArgument(CExpSource& source, const std::string& text);
    bool CountFits() const;
    // The count and kind checks of a complete argument list.
    void CheckArguments(CExpSource& source, int closePosition);
    // The parameter entry argument index falls on, or null past the end.
    const struct FunctionParam* ParamAt(size_t index) const;

    bool RunBuiltin(CExpContext& context);
    // Evaluates the arguments the built-in receives, left to right.
    bool EvaluateArguments(CExpContext& context, std::vector<CValueData>& values) const;
    bool WriteOutputs(const CBuiltinCall& call, CExpContext& context) const;

    CExpFunction* callee_ = nullptr;
};
