// String handling: strcat, strcmp, strcpy, strlen.
#include <cstring>

#include "engine/builtins/Builtins.h"

namespace builtin {

// Returns the joined text; the call writes it back to argument 1. The C
// strings are joined, as "+" joins them: a zero byte ends the first string
// for strcat as it does for every other string built-in and the result line.
bool Strcat(CBuiltinCall& call) {
    call.Return(call.Arg(0).Add(call.Arg(1)));
    return true;
}

// -1, 0 or 1, never the byte difference; bytes compare unsigned, so bytes of
// multi-byte characters sort after ASCII.
bool Strcmp(CBuiltinCall& call) {
    const CIString left = call.Arg(0).AsString();
    const CIString right = call.Arg(1).AsString();
    const int order = std::strcmp(left.Text(), right.Text());
    call.Return(CValueData::Int(order < 0 ? -1 : order > 0 ? 1 : 0));
    return true;
}

bool Strcpy(CBuiltinCall& call) {
    call.Return(CValueData::String(call.Arg(1).AsString()));
    return true;
}

// The bytes before the first zero byte, as a dword.
bool Strlen(CBuiltinCall& call) {
    call.Return(CValueData::Dword(static_cast<uint32_t>(std::strlen(call.Arg(0).AsString().Text()))));
    return true;
}

}  // namespace builtin
