#include "engine/CExpNumConst.h"

#include <cstdint>
#include <cstdlib>

#include "engine/ParseHelpers.h"

namespace {

constexpr int kBadNumber = 1;   // (4, 1) "数値定数記述が誤っています"

// Bytes of 0x80 and above belong to multi-byte characters and end every run
// of digits; the character classes are spelled out so no locale applies.
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(unsigned char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsBinaryDigit(unsigned char c) { return c == '0' || c == '1'; }

unsigned HexDigitValue(unsigned char c) {
    if (IsDigit(c)) return c - '0';
    return (c | 0x20) - 'a' + 10;
}

// The end of the run of characters from begin that pass the test.
template <class Test>
size_t RunEnd(const std::string& text, size_t begin, Test test) {
    while (begin < text.size() && test(static_cast<unsigned char>(text[begin]))) ++begin;
    return begin;
}

bool StartsWithPrefix(const std::string& text, size_t at, char lower) {
    return at + 1 < text.size() && text[at] == '0' && (text[at + 1] | 0x20) == lower;
}

unsigned char CharAt(const std::string& text, size_t at) {
    return at < text.size() ? static_cast<unsigned char>(text[at]) : 0;
}

// The digits from begin to end in the given base. Literals of any length are
// read in unsigned 32-bit arithmetic that wraps, so a literal too large for
// 32 bits keeps its low 32 bits: «4294967296» is 0 and «0x1ffffffff» is
// 0xffffffff.
uint32_t LowBits(const std::string& text, size_t begin, size_t end, unsigned base) {
    uint32_t value = 0;
    for (size_t i = begin; i < end; ++i) value = value * base + HexDigitValue(static_cast<unsigned char>(text[i]));
    return value;
}

}  // namespace

// number -> hexadecimal | binary | floating | octal | decimal
bool CExpNumConst::Parse(CExpSource& source, const std::string& text) {
    SkipBlanks(source, text);
    if (AtEnd(source, text)) return false;
    SetPosition(source.position);
    const unsigned char first = CurrentChar(source, text);
    if (!IsDigit(first) && first != '.') return false;
    // ORDER: the floating form precedes the octal one, so «0.5» is a double.
    // A leading "." is always claimed by the floating form, so the decimal
    // form always finds a digit.
    if (ParseHexadecimal(source, text) || ParseBinary(source, text) || ParseFloating(source, text) ||
        ParseOctal(source, text)) {
        return true;
    }
    ParseDecimal(source, text);
    return true;
}

// Records the malformed literal and moves the cursor to resume.
bool CExpNumConst::Malformed(CExpSource& source, size_t resume) {
    source.AddDiag(Position(), EXP_NUM_CONST, kBadNumber);
    source.position = static_cast<int>(resume);
    return true;
}

// hexadecimal -> ("0x" | "0X") hexdigit { hexdigit }
bool CExpNumConst::ParseHexadecimal(CExpSource& source, const std::string& text) {
    const size_t begin = Position();
    if (!StartsWithPrefix(text, begin, 'x')) return false;
    const size_t end = RunEnd(text, begin + 2, IsHexDigit);
    if (end == begin + 2) return Malformed(source, begin + 2);
    value_ = CValueData::Dword(LowBits(text, begin + 2, end, 16));
    source.position = static_cast<int>(end);
    return true;
}

// binary -> ("0b" | "0B") bindigit { bindigit }
bool CExpNumConst::ParseBinary(CExpSource& source, const std::string& text) {
    const size_t begin = Position();
    if (!StartsWithPrefix(text, begin, 'b')) return false;
    const size_t end = RunEnd(text, begin + 2, IsBinaryDigit);
    if (end == begin + 2) return Malformed(source, begin + 2);
    value_ = CValueData::Dword(LowBits(text, begin + 2, end, 2));
    source.position = static_cast<int>(end);
    return true;
}

// floating -> digits "." [digits] [exponent] | "." digits [exponent] | digits exponent
// exponent -> ("e" | "E") ["+" | "-"] digits
bool CExpNumConst::ParseFloating(CExpSource& source, const std::string& text) {
    const size_t begin = Position();
    size_t end = RunEnd(text, begin, IsDigit);
    const bool hasInteger = end > begin;
    const bool hasPoint = CharAt(text, end) == '.';
    if (hasPoint) {
        const size_t fractionEnd = RunEnd(text, end + 1, IsDigit);
        if (!hasInteger && fractionEnd == end + 1) return Malformed(source, begin + 1);
        end = fractionEnd;
    } else if (!hasInteger) {
        return false;
    }
    const bool hasExponent = (CharAt(text, end) | 0x20) == 'e';
    if (hasExponent) {
        ++end;
        if (CharAt(text, end) == '+' || CharAt(text, end) == '-') ++end;
        const size_t exponentEnd = RunEnd(text, end, IsDigit);
        if (exponentEnd == end) return Malformed(source, end);
        end = exponentEnd;
    }
    if (!hasPoint && !hasExponent) return false;
    // The counted text is plain C floating syntax; nothing in the program
    // changes LC_NUMERIC, so strtod reads "." as the decimal point. Too
    // large a literal gives infinity, too small a one 0 or a subnormal.
    const std::string literal = text.substr(begin, end - begin);
    value_ = CValueData::Double(std::strtod(literal.c_str(), nullptr));
    source.position = static_cast<int>(end);
    return true;
}

// octal -> "0" octdigit { octdigit }   (any "8" or "9" makes it decimal)
bool CExpNumConst::ParseOctal(CExpSource& source, const std::string& text) {
    const size_t begin = Position();
    if (CharAt(text, begin) != '0') return false;
    const size_t end = RunEnd(text, begin + 1, IsDigit);
    if (end == begin + 1) return false;
    for (size_t i = begin + 1; i < end; ++i) {
        if (text[i] == '8' || text[i] == '9') return false;
    }
    value_ = CValueData::Dword(LowBits(text, begin, end, 8));
    source.position = static_cast<int>(end);
    return true;
}

// decimal -> digit { digit }; a decimal literal is an int, and one beyond
// 32 bits keeps its low 32 bits read as signed: «2147483648» is -2147483648.
void CExpNumConst::ParseDecimal(CExpSource& source, const std::string& text) {
    const size_t begin = Position();
    const size_t end = RunEnd(text, begin, IsDigit);
    value_ = CValueData::Int(static_cast<int32_t>(LowBits(text, begin, end, 10)));
    source.position = static_cast<int>(end);
}
