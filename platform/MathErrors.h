#pragma once

#include <stdexcept>

// A math library error: domain, singularity, overflow or underflow. Its text
// is "_matherr : <kind> <function>(arg1=%g,arg2=%g) retval=%g".
class CMathError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// glibc has no math-error hook, so errors are detected around each call: the
// guard clears errno and the floating-point exception flags when it is made,
// and Check throws CMathError when the call raised one (inexact never counts).
class CMathGuard {
public:
    CMathGuard();
    void Check(const char* function, double arg1, double arg2, double result) const;
};
