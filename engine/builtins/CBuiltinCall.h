#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "engine/Diagnostics.h"
#include "value/CValueData.h"

// What a built-in sees of its call: the evaluated arguments, each with the
// type it evaluated to, and what it hands back: the returned value, the values
// of its output arguments, or the reason it failed.
class CBuiltinCall {
public:
    // The arguments stay the caller's and must outlive the call.
    CBuiltinCall(int number, std::span<const CValueData> args);

    // The built-in's name, as its log lines and math errors show it.
    const char* Name() const;
    size_t ArgCount() const { return args_.size(); }
    const CValueData& Arg(size_t index) const;

    void Return(CValueData value) { result_ = std::move(value); }
    const CValueData& Result() const { return result_; }
    // An output argument normally receives the returned value; the built-ins
    // that split a number write something else to their second argument.
    void SetOutput(size_t index, CValueData value);
    const CValueData& Output(size_t index) const;

    // Records why the built-in failed; returns false so a built-in can end
    // with «return call.Fail(...)».
    bool Fail(Diag why);
    Diag Failure() const { return failure_; }

private:
    int number_;
    std::span<const CValueData> args_;
    CValueData result_;
    std::vector<std::optional<CValueData>> outputs_;
    Diag failure_ = Diag::BuiltinFailed;
};
