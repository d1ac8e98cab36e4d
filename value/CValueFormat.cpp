// Text forms of CValueData. Integers follow the radix with fixed-width octal,
// hexadecimal and binary forms; the other types ignore it. The text is built
// to its full length: nothing is truncated, whatever the value.
#include <charconv>
#include <cstdio>
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

// The text "%.*g" writes: digits significant digits, in fixed or exponent
// form. std::to_chars gives the same characters without parsing a format.
std::string General(double value, int digits) {
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
