#include "engine/CExpBoolConst.h"

bool CExpBoolConst::Parse(CExpSource&, const std::string&) { return false; }  // TODO(literals)

bool CExpBoolConst::Execute(CExpContext& context) {
    context.value.Assign(value_);
    return true;
}
