#include "engine/CExpVararray.h"

#include "engine/CExpArray.h"

bool CExpVararray::Parse(CExpSource&, const std::string&) { return false; }  // TODO(variables)
std::string CExpVararray::Text() const { return name_; }
bool CExpVararray::Execute(CExpContext&) { return false; }
int CExpVararray::ValueType() const { return Parent() ? Parent()->ValueType() : 0; }
CExpItem* CExpVararray::MatchName(const std::string& name) { return name == name_ ? this : nullptr; }
CExpArray* CExpVararray::SizeList() const { return nullptr; }
