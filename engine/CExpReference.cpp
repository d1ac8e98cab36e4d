#include "engine/CExpReference.h"

bool CExpReference::Parse(CExpSource&, const std::string&) { return false; }  // TODO(variables)
std::string CExpReference::Text() const { return {}; }
bool CExpReference::Execute(CExpContext&) { return false; }
int CExpReference::ValueType() const { return 0; }
bool CExpReference::Write(const CValueData&, CExpContext&) { return false; }
