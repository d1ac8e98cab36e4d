#include "engine/builtins/Builtins.h"

namespace builtin {

bool Inert(CBuiltinCall& call) { return call.Fail(Diag::BuiltinFailed); }

}  // namespace builtin

std::array<BuiltinFn, BUILTIN_COUNT>& BuiltinImplementations() {
    using namespace builtin;
    // ORDER BUILTIN; itoa and ltoa are the same conversion (int and long are
    // both 32 bits).
    static std::array<BuiltinFn, BUILTIN_COUNT> table = {
        Strcat, Strcmp, Strcpy, Strlen,
        Cgets,  Gets,   Cputs,  Puts,
        Getch,  Getchar, Putch, Putchar,
        Access, Chdir,  Chmod,  Mkdir,
        Rmdir,  Remove, Rename, Getcwd,
        Getenv, Putenv, Atoi,   Atol,
        Atof,   Itoa,   Itoa,   Ultoa,
        Gcvt,   Abs,    Acos,   Asin,
        Atan,   Atan2,  Ceil,   Cos,
        Cosh,   Exp,    Fabs,   Floor,
        Fmod,   Frexp,  Hypot,  Labs,
        Ldexp,  Log,    Log10,  Max,
        Min,    Modf,   Pow,    Sin,
        Sinh,   Sqrt,   Tan,    Tanh,
        Rand,   Srand,  System, Printf,
    };
    return table;
}
