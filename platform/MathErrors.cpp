#include "platform/MathErrors.h"

#include <cerrno>
#include <cfenv>
#include <cmath>
#include <cstdio>

namespace {

// The kinds of math error, in the order they are looked for.
struct MathErrorKind {
    int flag;
    const char* text;
};
constexpr MathErrorKind kKinds[] = {
    {FE_INVALID, "引数が範囲以外です"},       // 1: argument outside the domain
    {FE_DIVBYZERO, "引数が無効です"},         // 2: singularity
    {FE_OVERFLOW, "オーバーフローしました"},  // 3
    {FE_UNDERFLOW, "結果が小さすぎます"},     // 4
};

// The kind's text, or nullptr when the call raised no error. The flags are
// the primary signal; errno catches an error a function reports only there.
const char* ErrorText(int raised, double result) {
    for (const MathErrorKind& kind : kKinds) {
        if (raised & kind.flag) return kind.text;
    }
    if (errno == EDOM) return kKinds[0].text;
    if (errno == ERANGE) return std::fabs(result) > 1.0 ? kKinds[2].text : kKinds[3].text;
    return nullptr;
}

}  // namespace

namespace {

constexpr int kErrorFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW | FE_UNDERFLOW;

}  // namespace

// Clearing the flags rewrites the whole floating-point environment, which is
// slow, and they are almost always clear already: inexact, the one flag
// nearly every call raises, never counts.
CMathGuard::CMathGuard() {
    errno = 0;
    if (std::fetestexcept(kErrorFlags) != 0) std::feclearexcept(FE_ALL_EXCEPT);
}

void CMathGuard::Check(const char* function, double arg1, double arg2, double result) const {
    const int raised = std::fetestexcept(kErrorFlags);
    const char* text = ErrorText(raised, result);
    if (text == nullptr) return;
    char message[128];
    std::snprintf(message, sizeof message, "_matherr : %s %s(arg1=%g,arg2=%g) retval=%g", text, function,
                  arg1, arg2, result);
    throw CMathError(message);
}
