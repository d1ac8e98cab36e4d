#include "engine/builtins/Builtins.h"

namespace builtin {

bool Inert(CBuiltinCall& call) { return call.Fail(Diag::BuiltinFailed); }

}  // namespace builtin
