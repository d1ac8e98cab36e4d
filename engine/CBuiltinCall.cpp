#include "engine/CBuiltinCall.h"

#include "engine/BuiltinTable.h"

CBuiltinCall::CBuiltinCall(int number, std::vector<CValueData> args)
    : number_(number), args_(std::move(args)), outputs_(args_.size()) {}

const char* CBuiltinCall::Name() const { return BuiltinTable().at(number_).name; }

void CBuiltinCall::SetOutput(size_t index, CValueData value) { outputs_.at(index) = std::move(value); }

const CValueData& CBuiltinCall::Output(size_t index) const {
    const std::optional<CValueData>& output = outputs_.at(index);
    return output ? *output : result_;
}

bool CBuiltinCall::Fail(int minor) {
    failure_ = minor;
    return false;
}
