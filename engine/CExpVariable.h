#pragma once

#include <memory>

#include "engine/CExpItem.h"

class CExpInitializer;
class CExpReference;

// One declarator of a scalar variable («a = 1» or «&r = a» in a declaration).
// Its storage is shared by ownership with reference variables bound to it, so
// no value object can go away while a name still refers to it.
class CExpVariable final : public CExpItem {
public:
    CExpVariable() : CExpItem(EXP_VARIABLE) {}

    // declarator -> ['&'] identifier ['=' expression]
    bool Parse(CExpSource& source, const std::string& text) override;
    bool DefinesName() const override { return true; }
    std::string Name() const override { return name_; }
    std::string Text() const override;
    // Declarators are looked up from only while they are parsed, before the
    // declaration adopts them; the declaration answers for its own names.
    CExpItem* Lookup(const std::string& name) const override;
    // Creates the value (an ordinary variable) or binds it (a reference).
    bool Execute(CExpContext& context) override;
    int ValueType() const override;

    bool IsReference() const { return reference_; }
    // The current value object; null before the first execution, and for a
    // reference whose binding failed.
    const std::shared_ptr<CValueData>& Value() const { return value_; }

private:
    // The variable reference an initializer consists of, or null when it is
    // not exactly one plain variable name.
    static const CExpReference* ReferenceIn(const CExpItem* initializer);
    // The target named by this reference declarator's initializer, or null.
    const CExpReference* BoundTarget() const;
    void ParseInitializer(CExpSource& source, const std::string& text);
    // A parameter of a user function, whose reference needs no initializer.
    bool IsParameter() const;
    bool ExecuteReference(CExpContext& context);
    bool ExecuteOrdinary(CExpContext& context);

    std::shared_ptr<CValueData> value_;
    std::string name_;
    bool reference_ = false;
};
