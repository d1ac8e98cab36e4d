#include "engine/CExpStrConst.h"

bool CExpStrConst::Parse(CExpSource&, const std::string&) { return false; }  // TODO(literals)

bool CExpStrConst::Execute(CExpContext& context) {
    context.value.Assign(value_);
    return true;
}
