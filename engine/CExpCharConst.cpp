#include "engine/CExpCharConst.h"

bool CExpCharConst::Parse(CExpSource&, const std::string&) { return false; }  // TODO(literals)

bool CExpCharConst::Execute(CExpContext& context) {
    context.value.Assign(value_);
    return true;
}
