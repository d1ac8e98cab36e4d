#pragma once

#include <string>
#include <string_view>

#include "engine/items/CExpItem.h"

// What the two kinds of declarator share (CExpVariable, CExpVararray): each
// names a variable of its declaration's type, and the variable outlives the
// declaring line.
class CExpDeclarator : public CExpItem {
public:
    std::string_view Name() const override { return name_; }
    // The declaration's type; an array's element type.
    int ValueType() const override { return type_; }
    // Declarators are looked up from only while they are parsed, before the
    // declaration adopts them; the declaration answers for its own names.
    CExpItem* Lookup(std::string_view name) const override;

    // Forgets the items of the declaring line, which goes; the variable
    // stays.
    virtual void DropLineItems() = 0;

protected:
    CExpDeclarator(ExpKind kind, int type) : CExpItem(kind), type_(type) {}

    std::string name_;

private:
    int type_;
};
