#include "engine/CExpVariable.h"

bool CExpVariable::Parse(CExpSource&, const std::string&) { return false; }  // TODO(variables)
std::string CExpVariable::Text() const { return name_; }
bool CExpVariable::Execute(CExpContext&) { return false; }
int CExpVariable::ValueType() const { return Parent() ? Parent()->ValueType() : 0; }
CExpItem* CExpVariable::MatchName(const std::string& name) { return name == name_ ? this : nullptr; }
