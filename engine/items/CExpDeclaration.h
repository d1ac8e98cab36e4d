#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "engine/items/CExpDeclarator.h"
#include "engine/items/CNameIndex.h"

// A declaration: a type word and a comma-separated list of declarators
// (CExpVararray or CExpVariable). Executing it creates the variables. The
// declaration itself belongs to its line; its declarators are handed to the
// manager when the line is accepted, and live on.
class CExpDeclaration final : public CExpItem {
public:
    CExpDeclaration() : CExpItem(EXP_DECLARATION) {}

    // declaration -> typeword [declarator {',' declarator}]
    bool Parse(CExpSource& source) override;
    bool Execute(CExpContext& context) override { return ExecuteChildren(context); }
    std::string Text() const override;
    int ValueType() const override { return type_; }
    bool IsConstant() const override { return false; }
    size_t ChildCount() const override { return declarators_.size(); }
    CExpItem* Child(size_t i) const override { return declarators_[i].get(); }
    // The lookup of a declarator being parsed: every declarator this
    // declaration already holds comes before it. Answered from the name
    // index, so a line with many declarators stays linear.
    CExpItem* LookupForDeclarator(std::string_view name) const;

    // Marks the declaration as one parameter of a user function: a reference
    // declarator then needs no initializer (it would be bound by a call), and
    // a comma followed by a type word or "..." is left to the parameter list.
    void SetParameter() { parameter_ = true; }
    bool IsParameter() const { return parameter_; }

    // Gives up the declarators, which the caller keeps from now on.
    std::vector<std::unique_ptr<CExpDeclarator>> TakeDeclarators();

private:
    // Offers the text to an array declarator, then to a scalar one.
    bool ParseDeclarator(CExpSource& source);
    // Appends a parsed declarator (and enters its name in the index).
    void Adopt(std::unique_ptr<CExpDeclarator> declarator);
    CExpItem* FindDeclarator(std::string_view name) const;
    // True when the comma at the cursor begins the next parameter.
    bool CommaEndsParameter(const CExpSource& source) const;

    int type_ = 0;
    bool parameter_ = false;
    std::vector<std::unique_ptr<CExpDeclarator>> declarators_;
    // The declarators by name once there are many; the first of a name wins,
    // as in a scope walk.
    CNameIndex names_;
};
