#include "engine/builtins/CBuiltinCall.h"

#include <stdexcept>

#include "engine/builtins/BuiltinTable.h"

CBuiltinCall::CBuiltinCall(int number, std::span<const CValueData> args) : number_(number), args_(args) {}

const CValueData& CBuiltinCall::Arg(size_t index) const {
    if (index >= args_.size()) throw std::out_of_range("argument");
    return args_[index];
}

const char* CBuiltinCall::Name() const { return BuiltinTable()[static_cast<size_t>(number_)].name; }

// Few built-ins have output arguments, so the list is only made when one is
// written.
void CBuiltinCall::SetOutput(size_t index, CValueData value) {
    if (index >= args_.size()) throw std::out_of_range("output argument");
    if (outputs_.empty()) outputs_.resize(args_.size());
    outputs_[index] = std::move(value);
}

const CValueData& CBuiltinCall::Output(size_t index) const {
    if (index >= args_.size()) throw std::out_of_range("output argument");
    const bool written = index < outputs_.size() && outputs_[index];
    return written ? *outputs_[index] : result_;
}

bool CBuiltinCall::Fail(Diag why) {
    failure_ = why;
    return false;
}
