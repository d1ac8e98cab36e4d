// Text forms of CValueData. Integers follow the radix with fixed-width octal,
// hexadecimal and binary forms; the other types ignore it. The text is built
// to its full length: nothing is truncated, whatever the value.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "value/CValueData.h"

namespace {

// Formats one number with a C format; every format used here fits easily.
template <typename T>
std::string Printed(const char* format, T value) {
    char text[64];
    const int length = std::snprintf(text, sizeof text, format, value);
    return length > 0 ? std::string(text, static_cast<size_t>(length)) : std::string();
}

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
// Every power up to 10^22 is a double exactly, so scaling by one rounds once.
constexpr int kExactPowers = 22;
// Scaled to at most 10^9, one rounding moves the value by less than 1.2e-7;
// a fraction this far from one half rounds the same way as the exact value.
constexpr int kMostQuickDigits = 9;
constexpr double kTieMargin = 1e-6;

// |value| times 10^power, rounded once.
double Scaled(double magnitude, int power) {
    return power >= 0 ? magnitude * kPowersOfTen[power] : magnitude / kPowersOfTen[-power];
}

// floor(log10(magnitude)) or one less, for a normal magnitude, read from its
// binary exponent: a logarithm call took a tenth of the time of a line
// printing a double. 78913 / 2^18 is log10(2) to within 4e-7, too little to
// move the floor for any exponent a double has.
int DecimalExponentAtMost(double magnitude) {
    uint64_t bits = 0;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const int binary = static_cast<int>((bits >> 52) & 0x7ff) - 1023;
    return (binary * 78913) >> 18;
}

// The "%.*g" text of a nonzero finite value, for up to nine digits, worked
// out in double arithmetic: the value scaled to digits figures before the
// point is rounded to an integer. False, with nothing written, when the
// scaled value lies too near a half to be sure of the rounding, or the scale
// is not an exact power; the caller's exact conversion decides then. Most
// results come this way, at a fraction of the exact conversion's cost.
bool QuickGeneral(double value, int digits, std::string& text) {
    const double magnitude = std::fabs(value);
    if (digits < 1 || digits > kMostQuickDigits || !std::isfinite(value) || magnitude < 1e-300) return false;
    int exponent = DecimalExponentAtMost(magnitude);
    const auto scale = [&](int e, double& scaled) {
        const int power = digits - 1 - e;
        if (power > kExactPowers || power < -kExactPowers) return false;
        scaled = Scaled(magnitude, power);
        return true;
    };
    double scaled = 0;
    if (!scale(exponent, scaled)) return false;
    // The estimate may be one short; it is never over, so the scaled value
    // is at least 10^(digits-1).
    if (scaled >= kPowersOfTen[digits] && !scale(++exponent, scaled)) return false;
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) < kTieMargin) return false;
    auto mantissa = static_cast<uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
    if (mantissa == static_cast<uint64_t>(kPowersOfTen[digits])) {
        mantissa /= 10;
        ++exponent;
    }
    char figures[kMostQuickDigits];
    for (int i = digits - 1; i >= 0; --i, mantissa /= 10) figures[i] = static_cast<char>('0' + mantissa % 10);
    // "%g" drops the trailing zeros of the fraction, and a point left bare.
    int kept = digits;
    const bool fixed = exponent >= -4 && exponent < digits;
    const int wholeFigures = fixed && exponent >= 0 ? exponent + 1 : 1;
    while (kept > wholeFigures && figures[kept - 1] == '0') --kept;

    text.clear();
    if (value < 0) text += '-';
    if (fixed && exponent < 0) {
        text += "0.";
        text.append(static_cast<size_t>(-exponent - 1), '0');
        text.append(figures, static_cast<size_t>(kept));
        return true;
    }
    text.append(figures, static_cast<size_t>(wholeFigures));
    if (kept > wholeFigures) {
        text += '.';
        text.append(figures + wholeFigures, static_cast<size_t>(kept - wholeFigures));
    }
    if (!fixed) {
        // Two figures always suffice: the exact scales keep |exponent| < 32.
        const int figure = std::abs(exponent);
        text += exponent < 0 ? "e-" : "e+";
        text += static_cast<char>('0' + figure / 10);
        text += static_cast<char>('0' + figure % 10);
    }
    return true;
}

// The text "%.*g" writes: digits significant digits, in fixed or exponent
// form. std::to_chars gives the same characters without parsing a format.
std::string General(double value, int digits) {
    std::string quick;
    if (QuickGeneral(value, digits, quick)) return quick;
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, digits).ptr;
    return std::string(text, end);
}

// The decimal text of an integer, as "%d" or "%u" writes it.
template <typename T>
std::string Decimal(T value) {
    char text[16];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

// "0b" and one digit per bit of the value's own width, leading zeros included.
std::string BinaryForm(uint32_t bits, int width) {
    std::string text = "0b";
    for (int bit = width - 1; bit >= 0; --bit) text += ((bits >> bit) & 1u) != 0 ? '1' : '0';
    return text;
}

// One row of the integer text table: the unsigned bit pattern of the type's
// width, its width in bits, and the formats of the other radixes.
struct IntegerForm {
    int width;
    const char* octal;
    const char* hexadecimal;
};

constexpr IntegerForm kByteForm{8, "0%03o", "0x%02x"};
constexpr IntegerForm kWordForm{16, "0%06o", "0x%04x"};
constexpr IntegerForm kDwordForm{32, "0%011o", "0x%08x"};

// The text in radix 2, 8 or 16 of an integer whose decimal text is not
// wanted.
std::string IntegerText(const IntegerForm& form, uint32_t bits, int radix) {
    switch (radix) {
    case 2: return BinaryForm(bits, form.width);
    case 8: return Printed(form.octal, static_cast<unsigned>(bits));
    default: return Printed(form.hexadecimal, static_cast<unsigned>(bits));
    }
}

bool IsDecimalRadix(int radix) { return radix != 2 && radix != 8 && radix != 16; }

// A string is shown as a C string: up to its first zero byte, which would
// otherwise reach the terminal raw.
std::string Quoted(const CIString& text) {
    std::string quoted = "\"";
    quoted += text.CView();
    quoted += '"';
    return quoted;
}

}  // namespace

std::string CValueData::Format(int radix, int digits) const {
    switch (type_) {
    // Decimal texts are signed or unsigned as the type is.
    case VTYPE_CHAR: return IsDecimalRadix(radix) ? Decimal(int{AsChar()}) : IntegerText(kByteForm, AsByte(), radix);
    case VTYPE_BYTE: return IsDecimalRadix(radix) ? Decimal(unsigned{AsByte()}) : IntegerText(kByteForm, AsByte(), radix);
    case VTYPE_SHORT: return IsDecimalRadix(radix) ? Decimal(int{AsShort()}) : IntegerText(kWordForm, AsWord(), radix);
    case VTYPE_WORD: return IsDecimalRadix(radix) ? Decimal(unsigned{AsWord()}) : IntegerText(kWordForm, AsWord(), radix);
    case VTYPE_INT:
    case VTYPE_LONG: return IsDecimalRadix(radix) ? Decimal(AsInt()) : IntegerText(kDwordForm, AsDword(), radix);
    case VTYPE_DWORD: return IsDecimalRadix(radix) ? Decimal(AsDword()) : IntegerText(kDwordForm, AsDword(), radix);
    case VTYPE_FLOAT:
    case VTYPE_DOUBLE: return General(AsDouble(), digits);
    case VTYPE_BOOL: return AsBool() ? "true" : "false";
    case VTYPE_FRACTION: return Decimal(payload_.fraction.num) + "$" + Decimal(payload_.fraction.den);
    case VTYPE_STRING: return Quoted(*string_);
    default: return "";
    }
}
