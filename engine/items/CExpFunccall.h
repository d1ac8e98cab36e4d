#pragma once

#include <memory_resource>
#include <vector>

#include "engine/items/CExpItem.h"

class CBuiltinCall;
class CExpFunction;

// A call «name(arguments)»; the arguments are its children, each either a
// bare variable reference (so that an output parameter can be written) or
// the expression the parser built for it.
class CExpFunccall final : public CExpItem {
public:
    // Its members are plain values, pointers and storage in the line arena.
    static constexpr bool kNothingToRelease = true;

    // A call of the function the name at the cursor names; its arguments
    // are kept in storage.
    CExpFunccall(CExpFunction* callee, std::pmr::memory_resource* storage);

    // call -> name '(' [argument {',' argument}] ')'
    bool Parse(CExpSource& source) override;
    std::string Text() const override;
    bool IsConstant() const override { return false; }
    bool Execute(CExpContext& context) override;
    int ValueType() const override;
    size_t ChildCount() const override { return arguments_.size(); }
    CExpItem* Child(size_t i) const override { return arguments_[i]; }

    CExpFunction* Callee() const { return callee_; }

private:
    // Parses the arguments after the "("; false when a diagnostic ends the call.
    bool ParseArguments(CExpSource& source);
    // One argument; null when there is none at the cursor.
    CExpItem* ParseArgument(CExpSource& source);
    bool CountFits() const;
    // The count, kind and type checks of a complete argument list.
    void CheckArguments(CExpSource& source, int closePosition);
    // The parameter entry argument index falls on, or null past the end.
    const struct FunctionParam* ParamAt(size_t index) const;

    bool RunBuiltin(CExpContext& context);
    // How many arguments the built-in receives, evaluated left to right.
    size_t EvaluatedCount() const;
    bool WriteOutputs(const CBuiltinCall& call, CExpContext& context) const;

    CExpFunction* callee_;
    std::pmr::vector<CExpItem*> arguments_;
};
