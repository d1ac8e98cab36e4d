#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/items/CExpItem.h"

// A parameter entry of a function. A variadic entry has type 0 and is last.
struct FunctionParam {
    int type = 0;
    bool byReference = false;
    bool variadic = false;
};

// A callable function: a built-in (number 0 to 59) or a user definition
// (number 60, whose calls are refused at execution). While a definition is
// parsed its children are its parameter declarations, one CExpDeclaration
// each, and then its body, so the body finds the parameters by Lookup
// before any global name; only the signature is kept beyond the line.
class CExpFunction final : public CExpItem {
public:
    static constexpr int kUserFunction = 60;

    CExpFunction() : CExpItem(EXP_FUNCTION) {}
    // A built-in made from its table row.
    CExpFunction(int number, const char* name, int resultType, std::vector<FunctionParam> params);

    // definition -> typeword name '(' [param {',' param}] ')' expression
    // param      -> declaration | '...'
    bool Parse(CExpSource& source) override;
    std::string_view Name() const override { return name_; }
    // The signature, «int twice(int)»; the body is not part of it.
    std::string Text() const override;
    bool Execute(CExpContext&) override { return true; }
    int ValueType() const override { return resultType_; }
    size_t ChildCount() const override { return children_.size(); }
    CExpItem* Child(size_t i) const override { return children_[i]; }
    // Answered from the parameters' names, so a definition of many
    // parameters stays linear; everything that asks comes after them.
    CExpItem* MatchChildBefore(std::string_view name, const CExpItem* before) const override;

    int Number() const { return number_; }
    const std::vector<FunctionParam>& Params() const { return params_; }
    // Forgets the parameter declarations and the body, which belong to the
    // defining line; the signature stays.
    void DropLineItems();

private:
    // Reads "type name (" on a copy of the cursor; true (and the cursor past
    // the "(") only when the text is a definition of a new name.
    bool ParseHead(CExpSource& source);
    void ParseParameters(CExpSource& source);
    // One declaration as a parameter; false when none is there.
    bool ParseDeclaredParameter(CExpSource& source);
    void ParseBody(CExpSource& source);

    int number_ = kUserFunction;
    int resultType_ = 0;
    std::vector<FunctionParam> params_;
    std::string name_;
    std::vector<CExpItem*> children_;   // in the line's storage
    // The parameters by name; the first of a name wins, as in a scope walk.
    std::unordered_map<std::string_view, CExpItem*> parameterNames_;
};
