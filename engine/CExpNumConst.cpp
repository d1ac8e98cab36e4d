#include "engine/CExpNumConst.h"

bool CExpNumConst::Parse(CExpSource&, const std::string&) { return false; }  // TODO(literals)

bool CExpNumConst::Execute(CExpContext& context) {
    context.value.Assign(value_);
    return true;
}
