// Number and text conversions: atoi, atol, atof, itoa (and ltoa), ultoa, gcvt.
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/builtins/BuiltinSupport.h"
#include "engine/builtins/Builtins.h"
#include "platform/Faults.h"

namespace {

constexpr int kMinRadix = 2;
constexpr int kMaxRadix = 36;
// gcvt formats into a buffer of this size; more digits cannot fit.
constexpr int kGcvtBufferSize = 349;

// The leading decimal integer, clamped to 32 bits as a C library with 32-bit
// long converts it (no silent wrap-around of a long digit string).
int32_t LeadingInteger(const CValueData& value) {
    const long long number = std::strtoll(value.AsString().Text(), nullptr, 10);
    if (number > INT32_MAX) return INT32_MAX;
    if (number < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(number);
}

std::string Digits(uint32_t value, int radix) {
    std::string digits;
    do {
        digits.insert(digits.begin(), "0123456789abcdefghijklmnopqrstuvwxyz"[value % radix]);
        value /= radix;
    } while (value != 0);
    return digits;
}

// A radix outside 2 to 36 is a parameter fault of the C library.
int CheckedRadix(const CValueData& value) {
    const int radix = value.AsInt();
    if (radix < kMinRadix || radix > kMaxRadix) throw CInvPrmException();
    return radix;
}

}  // namespace

namespace builtin {

bool Atoi(CBuiltinCall& call) {
    call.Return(CValueData::Int(LeadingInteger(call.Arg(0))));
    return true;
}

bool Atol(CBuiltinCall& call) {
    call.Return(CValueData::Long(LeadingInteger(call.Arg(0))));
    return true;
}

bool Atof(CBuiltinCall& call) {
    call.Return(CValueData::Double(std::strtod(call.Arg(0).AsString().Text(), nullptr)));
    return true;
}

// Only radix 10 shows a sign; other radices show the two's-complement bits.
bool Itoa(CBuiltinCall& call) {
    const int32_t value = call.Arg(0).AsInt();
    const int radix = CheckedRadix(call.Arg(2));
    const bool negative = radix == 10 && value < 0;
    const uint32_t magnitude = negative ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    call.Return(CValueData::String((negative ? "-" : "") + Digits(magnitude, radix)));
    return true;
}

bool Ultoa(CBuiltinCall& call) {
    const uint32_t value = call.Arg(0).AsDword();
    call.Return(CValueData::String(Digits(value, CheckedRadix(call.Arg(2)))));
    return true;
}

// A negative digit count is a parameter fault; one the buffer cannot hold is
// a conversion error, logged, with the empty text as the result.
bool Gcvt(CBuiltinCall& call) {
    const double value = call.Arg(0).AsDouble();
    const int digits = call.Arg(1).AsInt();
    if (digits < 0) throw CInvPrmException();
    if (digits >= kGcvtBufferSize) {
        LogCallError(call.Name(), ERANGE);
        call.Return(CValueData::String(std::string_view()));
        return true;
    }
    char buffer[kGcvtBufferSize];
    call.Return(CValueData::String(std::string_view(gcvt(value, digits, buffer))));
    return true;
}

}  // namespace builtin
