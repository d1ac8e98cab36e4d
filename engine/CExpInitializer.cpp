#include "engine/CExpInitializer.h"

bool CExpInitializer::Parse(CExpSource&, const std::string&) { return false; }  // TODO(variables)
bool CExpInitializer::Execute(CExpContext& context) { return ExecuteChildren(context); }
bool CExpInitList::Parse(CExpSource&, const std::string&) { return false; }
bool CExpInitList::Execute(CExpContext& context) { return ExecuteChildren(context); }
std::string CExpInitList::Text() const { return {}; }
bool CExpAryInitializer::Parse(CExpSource&, const std::string&) { return false; }
bool CExpAryInitializer::Execute(CExpContext& context) { return ExecuteChildren(context); }
bool CExpAryInitializer::CheckShape(CExpSource&, const std::vector<int32_t>&, int) { return false; }
bool CExpAryInitializer::Fill(CArrayData&, CExpContext&) { return false; }
