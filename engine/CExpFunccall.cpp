#include "engine/CExpFunccall.h"

bool CExpFunccall::Parse(CExpSource&, const std::string&) { return false; }  // TODO(functions)
std::string CExpFunccall::Text() const { return {}; }
bool CExpFunccall::Execute(CExpContext&) { return false; }
bool CExpFunccall::Check(CExpSource&) { return true; }
int CExpFunccall::ValueType() const { return 0; }
