#include "engine/CExpType.h"

bool CExpType::Parse(CExpSource&, const std::string&) { return false; }  // TODO(variables)
bool CExpType::Execute(CExpContext& context) { return ExecuteChildren(context); }
std::string CExpType::Text() const { return {}; }
CExpItem* CExpType::MatchName(const std::string&) { return nullptr; }
