#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/CExpItem.h"

class CExpression;

// A parameter entry of a function. A variadic entry has type 0 and is last.
struct FunctionParam {
    int type = 0;
    bool byReference = false;
    bool variadic = false;
};

// A callable function: a built-in (number 0 to 59) or a user definition
// (number 60, whose calls are refused at execution). A user definition's
// children are its parameter declarations, one CExpType each, so its body
// finds the parameters by Lookup before any global name.
class CExpFunction final : public CExpItem {
public:
    static constexpr int kUserFunction = 60;

    CExpFunction();
    // A built-in made from its table row.
    CExpFunction(int number, const char* name, int resultType, std::vector<FunctionParam> params);
    ~CExpFunction() override;

    // definition -> typeword name '(' [param {',' param}] ')' expression
    // param      -> declaration | '...'
    bool Parse(CExpSource& source, const std::string& text) override;
    bool DefinesName() const override { return true; }
    std::string Name() const override { return name_; }
    // The signature, «int twice(int)»; the body is not part of it.
    std::string Text() const override;
    bool Execute(CExpContext&) override { return true; }
    int ValueType() const override { return resultType_; }

    int Number() const { return number_; }
    const std::vector<FunctionParam>& Params() const { return params_; }

private:
    // Reads "type name (" on a copy of the cursor; true (and the cursor past
    // the "(") only when the text is a definition of a new name.
    bool ParseHead(CExpSource& source, const std::string& text);
    void ParseParameters(CExpSource& source, const std::string& text);
    // One declaration as a parameter; false when none is there.
    bool ParseDeclaredParameter(CExpSource& source, const std::string& text);
    void ParseBody(CExpSource& source, const std::string& text);

    int number_ = kUserFunction;
    int resultType_ = 0;
    std::vector<FunctionParam> params_;
    std::string name_;
    std::unique_ptr<CExpression> body_;
};
