#include "engine/CExpFraConst.h"

bool CExpFraConst::Parse(CExpSource&, const std::string&) { return false; }  // TODO(literals)

bool CExpFraConst::Execute(CExpContext& context) {
    context.value.Assign(value_);
    return true;
}
