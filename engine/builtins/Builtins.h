#pragma once

#include "engine/builtins/CBuiltinCall.h"

// The built-in library's implementations. A call (CExpFunccall) evaluates the
// arguments, runs the implementation its row of the built-in table names
// (BuiltinTable.h) and writes the output arguments back.

// An implementation: true after call.Return, false after call.Fail.
using BuiltinFn = bool (*)(CBuiltinCall& call);

// ORDER BUILTIN: the function numbers of the built-in table.
enum BuiltinId : int {
    BUILTIN_STRCAT, BUILTIN_STRCMP, BUILTIN_STRCPY, BUILTIN_STRLEN,
    BUILTIN_CGETS, BUILTIN_GETS, BUILTIN_CPUTS, BUILTIN_PUTS,
    BUILTIN_GETCH, BUILTIN_GETCHAR, BUILTIN_PUTCH, BUILTIN_PUTCHAR,
    BUILTIN_ACCESS, BUILTIN_CHDIR, BUILTIN_CHMOD, BUILTIN_MKDIR,
    BUILTIN_RMDIR, BUILTIN_REMOVE, BUILTIN_RENAME, BUILTIN_GETCWD,
    BUILTIN_GETENV, BUILTIN_PUTENV, BUILTIN_ATOI, BUILTIN_ATOL,
    BUILTIN_ATOF, BUILTIN_ITOA, BUILTIN_LTOA, BUILTIN_ULTOA,
    BUILTIN_GCVT, BUILTIN_ABS, BUILTIN_ACOS, BUILTIN_ASIN,
    BUILTIN_ATAN, BUILTIN_ATAN2, BUILTIN_CEIL, BUILTIN_COS,
    BUILTIN_COSH, BUILTIN_EXP, BUILTIN_FABS, BUILTIN_FLOOR,
    BUILTIN_FMOD, BUILTIN_FREXP, BUILTIN_HYPOT, BUILTIN_LABS,
    BUILTIN_LDEXP, BUILTIN_LOG, BUILTIN_LOG10, BUILTIN_MAX,
    BUILTIN_MIN, BUILTIN_MODF, BUILTIN_POW, BUILTIN_SIN,
    BUILTIN_SINH, BUILTIN_SQRT, BUILTIN_TAN, BUILTIN_TANH,
    BUILTIN_RAND, BUILTIN_SRAND, BUILTIN_SYSTEM, BUILTIN_PRINTF,
    BUILTIN_COUNT
};


namespace builtin {

// Does nothing and fails the call with 10.104, whatever the signature (no
// output argument is written): the replacement for built-ins whose effects a
// host must suppress.
bool Inert(CBuiltinCall& call);

// Strings (BuiltinString.cpp).
bool Strcat(CBuiltinCall& call);
bool Strcmp(CBuiltinCall& call);
bool Strcpy(CBuiltinCall& call);
bool Strlen(CBuiltinCall& call);

// Console and standard input and output (BuiltinConsole.cpp).
bool Cgets(CBuiltinCall& call);
bool Gets(CBuiltinCall& call);
bool Cputs(CBuiltinCall& call);
bool Puts(CBuiltinCall& call);
bool Getch(CBuiltinCall& call);
bool Getchar(CBuiltinCall& call);
bool Putch(CBuiltinCall& call);
bool Putchar(CBuiltinCall& call);

// File system (BuiltinFileSystem.cpp).
bool Access(CBuiltinCall& call);
bool Chdir(CBuiltinCall& call);
bool Chmod(CBuiltinCall& call);
bool Mkdir(CBuiltinCall& call);
bool Rmdir(CBuiltinCall& call);
bool Remove(CBuiltinCall& call);
bool Rename(CBuiltinCall& call);
bool Getcwd(CBuiltinCall& call);

// Environment and commands (BuiltinEnvironment.cpp).
bool Getenv(CBuiltinCall& call);
bool Putenv(CBuiltinCall& call);
bool System(CBuiltinCall& call);

// Number and text conversions (BuiltinConversion.cpp).
bool Atoi(CBuiltinCall& call);
bool Atol(CBuiltinCall& call);
bool Atof(CBuiltinCall& call);
bool Itoa(CBuiltinCall& call);
bool Ultoa(CBuiltinCall& call);
bool Gcvt(CBuiltinCall& call);

// Mathematics and random numbers (BuiltinMath.cpp).
bool Abs(CBuiltinCall& call);
bool Labs(CBuiltinCall& call);
bool Acos(CBuiltinCall& call);
bool Asin(CBuiltinCall& call);
bool Atan(CBuiltinCall& call);
bool Atan2(CBuiltinCall& call);
bool Ceil(CBuiltinCall& call);
bool Cos(CBuiltinCall& call);
bool Cosh(CBuiltinCall& call);
bool Exp(CBuiltinCall& call);
bool Fabs(CBuiltinCall& call);
bool Floor(CBuiltinCall& call);
bool Fmod(CBuiltinCall& call);
bool Frexp(CBuiltinCall& call);
bool Hypot(CBuiltinCall& call);
bool Ldexp(CBuiltinCall& call);
bool Log(CBuiltinCall& call);
bool Log10(CBuiltinCall& call);
bool Max(CBuiltinCall& call);
bool Min(CBuiltinCall& call);
bool Modf(CBuiltinCall& call);
bool Pow(CBuiltinCall& call);
bool Sin(CBuiltinCall& call);
bool Sinh(CBuiltinCall& call);
bool Sqrt(CBuiltinCall& call);
bool Tan(CBuiltinCall& call);
bool Tanh(CBuiltinCall& call);
bool Rand(CBuiltinCall& call);
bool Srand(CBuiltinCall& call);

// Formatted output (BuiltinPrintf.cpp).
bool Printf(CBuiltinCall& call);

}  // namespace builtin
