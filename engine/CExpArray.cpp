#include "engine/CExpArray.h"

bool CExpArray::Parse(CExpSource&, const std::string&) { return false; }  // TODO(variables)
std::string CExpArray::Text() const { return {}; }
bool CExpArray::Execute(CExpContext&) { return false; }
