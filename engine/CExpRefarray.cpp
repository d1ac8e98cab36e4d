#include "engine/CExpRefarray.h"

bool CExpRefarray::Parse(CExpSource&, const std::string&) { return false; }  // TODO(variables)
std::string CExpRefarray::Text() const { return {}; }
bool CExpRefarray::Execute(CExpContext&) { return false; }
int CExpRefarray::ValueType() const { return 0; }
bool CExpRefarray::Write(const CValueData&, CExpContext&) { return false; }
CExpArray* CExpRefarray::SubscriptList() const { return nullptr; }
