// The mathematics of the C library, with math errors detected around each
// call (platform/MathErrors.h), and the pseudo-random sequence.
#include <cmath>
#include <cstdint>

#include "engine/builtins/Builtins.h"
#include "platform/MathErrors.h"

namespace {

using Unary = double (*)(double);
using Binary = double (*)(double, double);

// The volatile arguments and results keep the computation between clearing
// and testing the floating-point flags, where the compiler cannot move it.
double CheckedCall(const char* name, Unary function, double x) {
    CMathGuard guard;
    const volatile double argument = x;
    const volatile double result = function(argument);
    guard.Check(name, x, 0.0, result);
    return result;
}

double CheckedCall(const char* name, Binary function, double x, double y) {
    CMathGuard guard;
    const volatile double first = x;
    const volatile double second = y;
    const volatile double result = function(first, second);
    guard.Check(name, x, y, result);
    return result;
}

bool ReturnUnary(CBuiltinCall& call, Unary function) {
    call.Return(CValueData::Double(CheckedCall(call.Name(), function, call.Arg(0).AsDouble())));
    return true;
}

bool ReturnBinary(CBuiltinCall& call, Binary function) {
    const double result = CheckedCall(call.Name(), function, call.Arg(0).AsDouble(), call.Arg(1).AsDouble());
    call.Return(CValueData::Double(result));
    return true;
}

// The absolute value of a 32-bit int; the most negative one has none and is
// returned unchanged, as two's-complement negation leaves it.
int32_t AbsoluteInt(int32_t value) {
    return value < 0 ? static_cast<int32_t>(0u - static_cast<uint32_t>(value)) : value;
}

// The C standard's example generator, so a seed gives the same sequence on
// every platform; srand sets it, and it starts as if seeded with 1.
uint32_t randomState = 1;

}  // namespace

namespace builtin {

bool Abs(CBuiltinCall& call) {
    const CValueData& value = call.Arg(0);
    if (value.Type() == VTYPE_FLOAT || value.Type() == VTYPE_DOUBLE) {
        call.Return(CValueData::Double(std::fabs(value.AsDouble())));
    } else {
        call.Return(CValueData::Int(AbsoluteInt(value.AsInt())));
    }
    return true;
}

bool Labs(CBuiltinCall& call) {
    call.Return(CValueData::Long(AbsoluteInt(call.Arg(0).AsLong())));
    return true;
}

bool Acos(CBuiltinCall& call) { return ReturnUnary(call, [](double x) { return std::acos(x); }); }
bool Asin(CBuiltinCall& call) { return ReturnUnary(call, [](double x) { return std::asin(x); }); }
bool Atan(CBuiltinCall& call) { return ReturnUnary(call, [](double x) { return std::atan(x); }); }
bool Ceil(CBuiltinCall& call) { return ReturnUnary(call, [](double x) { return std::ceil(x); }); }
bool Cos(CBuiltinCall& call) { return ReturnUnary(call, [](double x) { return std::cos(x); }); }
bool Cosh(CBuiltinCall& call) { return ReturnUnary(call, [](double x) { return std::cosh(x); }); }
bool Exp(CBuiltinCall& call) { return ReturnUnary(call, [](double x) { return std::exp(x); }); }
bool Fabs(CBuiltinCall& call) { return ReturnUnary(call, [](double x) { return std::fabs(x); }); }
bool Floor(CBuiltinCall& call) { return ReturnUnary(call, [](double x) { return std::floor(x); }); }
bool Log(CBuiltinCall& call) { return ReturnUnary(call, [](double x) { return std::log(x); }); }
bool Log10(CBuiltinCall& call) { return ReturnUnary(call, [](double x) { return std::log10(x); }); }
bool Sin(CBuiltinCall& call) { return ReturnUnary(call, [](double x) { return std::sin(x); }); }
bool Sinh(CBuiltinCall& call) { return ReturnUnary(call, [](double x) { return std::sinh(x); }); }
bool Sqrt(CBuiltinCall& call) { return ReturnUnary(call, [](double x) { return std::sqrt(x); }); }
bool Tan(CBuiltinCall& call) { return ReturnUnary(call, [](double x) { return std::tan(x); }); }
bool Tanh(CBuiltinCall& call) { return ReturnUnary(call, [](double x) { return std::tanh(x); }); }

bool Atan2(CBuiltinCall& call) { return ReturnBinary(call, [](double y, double x) { return std::atan2(y, x); }); }
bool Fmod(CBuiltinCall& call) { return ReturnBinary(call, [](double x, double y) { return std::fmod(x, y); }); }
bool Hypot(CBuiltinCall& call) { return ReturnBinary(call, [](double x, double y) { return std::hypot(x, y); }); }
bool Pow(CBuiltinCall& call) { return ReturnBinary(call, [](double x, double y) { return std::pow(x, y); }); }

bool Ldexp(CBuiltinCall& call) {
    const double x = call.Arg(0).AsDouble();
    const int exponent = call.Arg(1).AsInt();
    CMathGuard guard;
    const volatile double result = std::ldexp(x, exponent);
    guard.Check(call.Name(), x, exponent, result);
    call.Return(CValueData::Double(result));
    return true;
}

// Returns the mantissa; the exponent goes to the output argument.
bool Frexp(CBuiltinCall& call) {
    const double x = call.Arg(0).AsDouble();
    int exponent = 0;
    CMathGuard guard;
    const volatile double mantissa = std::frexp(x, &exponent);
    guard.Check(call.Name(), x, 0.0, mantissa);
    call.Return(CValueData::Double(mantissa));
    call.SetOutput(1, CValueData::Int(exponent));
    return true;
}

// Returns the fractional part; the integral part goes to the output argument.
bool Modf(CBuiltinCall& call) {
    const double x = call.Arg(0).AsDouble();
    double integral = 0.0;
    CMathGuard guard;
    const volatile double fraction = std::modf(x, &integral);
    guard.Check(call.Name(), x, 0.0, fraction);
    call.Return(CValueData::Double(fraction));
    call.SetOutput(1, CValueData::Double(integral));
    return true;
}

// Both keep the argument's own type: max(1, 2) is the int 2. On equality the
// second argument wins.
bool Max(CBuiltinCall& call) {
    call.Return(call.Arg(0).Greater(call.Arg(1)) ? call.Arg(0) : call.Arg(1));
    return true;
}

bool Min(CBuiltinCall& call) {
    call.Return(call.Arg(0).Less(call.Arg(1)) ? call.Arg(0) : call.Arg(1));
    return true;
}

bool Rand(CBuiltinCall& call) {
    randomState = randomState * 1103515245u + 12345u;
    call.Return(CValueData::Int(static_cast<int32_t>((randomState / 65536u) % 32768u)));
    return true;
}

bool Srand(CBuiltinCall& call) {
    randomState = call.Arg(0).AsDword();
    return true;
}

}  // namespace builtin
