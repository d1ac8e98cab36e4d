#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/CExpItem.h"

class CExpression;

// A parameter entry of a function.
struct FunctionParam {
    int type = 0;
    bool byReference = false;
    bool variadic = false;
};

// A callable function: a built-in (number 0 to 59) or a user definition
// (number 60, whose calls are refused at execution).
class CExpFunction final : public CExpItem {
public:
    static constexpr int kUserFunction = 60;

    CExpFunction();
    // A built-in made from its table row.
    CExpFunction(int number, const char* name, int resultType, std::vector<FunctionParam> params);
    ~CExpFunction() override;

    bool Parse(CExpSource& source, const std::string& text) override;
    bool DefinesName() const override { return true; }
    std::string Name() const override { return name_; }
    std::string Text() const override;   // the signature
    bool Execute(CExpContext&) override { return true; }
    int ValueType() const override { return resultType_; }

    int Number() const { return number_; }
    const std::vector<FunctionParam>& Params() const { return params_; }

private:
    int number_ = kUserFunction;
    int resultType_ = 0;
    std::vector<FunctionParam> params_;
    std::string name_;
    std::unique_ptr<CExpression> body_;
};
