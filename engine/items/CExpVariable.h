#pragma once

#include <string>

#include "engine/items/CExpItem.h"
#include "value/CValueData.h"

class CExpInitializer;
class CExpVariableUse;

// One declarator of a scalar variable («a = 1» or «&r = a» in a
// declaration), and the variable itself for the rest of the session. An
// ordinary variable holds its value; a reference uses its target's value
// object, which lives as long as the reference does (both are kept until
// the end of the session, or dropped together with their line).
class CExpVariable final : public CExpItem {
public:
    explicit CExpVariable(int type) : CExpItem(EXP_VARIABLE), type_(type) {}

    // declarator -> ['&'] identifier ['=' expression]
    bool Parse(CExpSource& source) override;
    bool DefinesName() const override { return true; }
    std::string_view Name() const override { return name_; }
    std::string Text() const override;
    // Declarators are looked up from only while they are parsed, before the
    // declaration adopts them; the declaration answers for its own names.
    CExpItem* Lookup(std::string_view name) const override;
    // Creates the value (an ordinary variable) or binds it (a reference).
    bool Execute(CExpContext& context) override;
    int ValueType() const override { return type_; }
    size_t ChildCount() const override { return initializer_ != nullptr ? 1 : 0; }
    CExpItem* Child(size_t) const override;

    bool IsReference() const { return reference_; }
    // The value object in use; null before the first execution, and for a
    // reference whose binding failed.
    CValueData* Value() const { return target_; }
    // Forgets the items of the declaring line, which goes; the variable
    // stays.
    void DropLineItems();

private:
    // The variable use an initializer consists of, or null when it is not
    // exactly one plain variable name.
    static const CExpVariableUse* UseIn(const CExpItem* initializer);
    void ParseInitializer(CExpSource& source);
    // A parameter of a user function, whose reference needs no initializer.
    bool IsParameter() const;
    bool ExecuteReference(CExpContext& context);
    bool ExecuteOrdinary(CExpContext& context);

    std::string name_;
    CValueData value_;
    CValueData* target_ = nullptr;
    CExpInitializer* initializer_ = nullptr;
    int type_;
    bool reference_ = false;
};
