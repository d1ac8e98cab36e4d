#pragma once

#include <string>

#include "engine/items/CExpDeclarator.h"
#include "value/CValueData.h"

class CExpInitializer;
class CExpVariableUse;

// One declarator of a scalar variable («a = 1» or «&r = a» in a
// declaration), and the variable itself for the rest of the session. An
// ordinary variable holds its value; a reference uses its target's value
// object, which lives as long as the reference does (both are kept until
// the end of the session, or dropped together with their line).
class CExpVariable final : public CExpDeclarator {
public:
    explicit CExpVariable(int type) : CExpDeclarator(EXP_VARIABLE, type) {}

    // declarator -> ['&'] identifier ['=' expression]
    bool Parse(CExpSource& source) override;
    std::string Text() const override;
    // Creates the value (an ordinary variable) or binds it (a reference).
    bool Execute(CExpContext& context) override;
    size_t ChildCount() const override { return initializer_ != nullptr ? 1 : 0; }
    CExpItem* Child(size_t) const override;

    bool IsReference() const { return reference_; }
    // The value object in use; null before the first execution, and for a
    // reference whose binding failed.
    CValueData* Value() const { return target_; }
    void DropLineItems() override;

private:
    // The variable use an initializer consists of, or null when it is not
    // exactly one plain variable name.
    static const CExpVariableUse* UseIn(const CExpItem* initializer);
    void ParseInitializer(CExpSource& source);
    // A parameter of a user function, whose reference needs no initializer.
    bool IsParameter() const;
    bool ExecuteReference(CExpContext& context);
    bool ExecuteOrdinary(CExpContext& context);

    // First, where it fits in the padding after the base's type: every
    // declared variable lives for the session.
    bool reference_ = false;
    CValueData value_;
    CValueData* target_ = nullptr;
    CExpInitializer* initializer_ = nullptr;
};
