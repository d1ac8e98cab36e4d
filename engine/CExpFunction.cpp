#include "engine/CExpFunction.h"

#include "engine/CExpression.h"

CExpFunction::CExpFunction(int number, const char* name, int resultType, std::vector<FunctionParam> params)
    : CExpItem(EXP_FUNCTION), number_(number), resultType_(resultType), params_(std::move(params)), name_(name) {}
CExpFunction::CExpFunction() : CExpItem(EXP_FUNCTION) {}
CExpFunction::~CExpFunction() = default;
bool CExpFunction::Parse(CExpSource&, const std::string&) { return false; }  // TODO(functions)
std::string CExpFunction::Text() const { return name_; }
