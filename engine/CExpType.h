#pragma once

#include <string>
#include <unordered_map>

#include "engine/CExpItem.h"

// A declaration: a type word and a comma-separated list of declarators
// (CExpVararray or CExpVariable children). Executing it creates the
// variables.
class CExpType final : public CExpItem {
public:
    CExpType() : CExpItem(EXP_TYPE) {}

    // declaration -> typeword [declarator {',' declarator}]
    bool Parse(CExpSource& source, const std::string& text) override;
    bool Execute(CExpContext& context) override { return ExecuteChildren(context); }
    std::string Text() const override;
    int ValueType() const override { return type_; }
    bool IsConstant() const override { return false; }
    // Answers for the variables this declaration declared.
    CExpItem* MatchName(const std::string& name) override;
    // The lookup of a declarator being parsed: every declarator this
    // declaration already holds comes before it. Answered from the name
    // index, so a line with many declarators stays linear.
    CExpItem* LookupForDeclarator(const std::string& name) const;

    // Marks the declaration as one parameter of a user function: a reference
    // declarator then needs no initializer (it would be bound by a call), and
    // a comma followed by a type word or "..." is left to the parameter list.
    void SetParameter() { parameter_ = true; }
    bool IsParameter() const { return parameter_; }

private:
    // Offers the text to an array declarator, then to a scalar one.
    bool ParseDeclarator(CExpSource& source, const std::string& text);
    // Appends a parsed declarator (and enters its name in the index).
    void Adopt(std::unique_ptr<CExpItem> declarator);
    CExpItem* FindDeclarator(const std::string& name) const;
    // True when the comma at the cursor begins the next parameter.
    bool CommaEndsParameter(const CExpSource& source, const std::string& text) const;

    int type_ = 0;
    bool parameter_ = false;
    // The declarators by name once there are many; the first of a name wins,
    // as in a scope walk.
    std::unique_ptr<std::unordered_map<std::string, CExpItem*>> names_;
};
