#include "engine/lexer/NumberLiteral.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/lexer/Keywords.h"

namespace {

bool IsHexDigit(unsigned char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsBinaryDigit(unsigned char c) { return c == '0' || c == '1'; }

unsigned HexDigitValue(unsigned char c) {
    if (IsDigit(c)) return c - '0';
    return (c | 0x20) - 'a' + 10;
}

// The end of the run of characters from begin that pass the test.
template <class Test>
size_t RunEnd(std::string_view text, size_t begin, Test test) {
    while (begin < text.size() && test(static_cast<unsigned char>(text[begin]))) ++begin;
    return begin;
}

bool StartsWithPrefix(std::string_view text, size_t at, char lower) {
    return at + 1 < text.size() && text[at] == '0' && (text[at + 1] | 0x20) == lower;
}

unsigned char CharAt(std::string_view text, size_t at) {
    return at < text.size() ? static_cast<unsigned char>(text[at]) : 0;
}

// The digits from begin to end in the given base. Literals of any length are
// read in unsigned 32-bit arithmetic that wraps, so a literal too large for
// 32 bits keeps its low 32 bits: «4294967296» is 0 and «0x1ffffffff» is
// 0xffffffff.
uint32_t LowBits(std::string_view text, size_t begin, size_t end, unsigned base) {
    uint32_t value = 0;
    for (size_t i = begin; i < end; ++i) value = value * base + HexDigitValue(static_cast<unsigned char>(text[i]));
    return value;
}

// The literals people type, such as «62.375», have few digits and no
// exponent: their value is the integer of their digits divided by a power of
// ten. With at most 15 significant digits and 22 after the point both are
// exact doubles and the division rounds once, so the quotient is the
// correctly rounded value, as strtod gives it (Clinger's fast path). False
// for every other literal.
bool ExactQuotient(const char* begin, const char* end, double& value) {
    static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    constexpr int kMaxDigits = 15;
    constexpr int kMaxScale = 22;
    uint64_t digits = 0;
    int significant = 0;
    int scale = -1;   // digits after the point; -1 before the point
    for (const char* p = begin; p != end; ++p) {
        if (*p == '.') {
            scale = 0;
            continue;
        }
        if (!IsDigit(static_cast<unsigned char>(*p))) return false;   // an exponent
        if (scale >= 0 && ++scale > kMaxScale) return false;
        if (digits == 0 && *p == '0') continue;
        if (++significant > kMaxDigits) return false;
        digits = digits * 10 + static_cast<uint64_t>(*p - '0');
    }
    value = static_cast<double>(digits) / kPowersOfTen[scale < 0 ? 0 : scale];
    return true;
}

// The counted text is plain C floating syntax, which std::from_chars reads
// exactly as strtod does. A literal beyond the range of double is left to
// strtod, which gives infinity for one too large and 0 or a subnormal for
// one too small; nothing in the program changes LC_NUMERIC, so strtod reads
// "." as the decimal point.
double DecimalToDouble(const char* begin, const char* end) {
    double value = 0.0;
    if (ExactQuotient(begin, end, value)) return value;
    if (std::from_chars(begin, end, value).ec == std::errc{}) return value;
    return std::strtod(std::string(begin, end).c_str(), nullptr);
}

// Reads the forms of one literal that starts at begin.
class LiteralReader {
public:
    LiteralReader(std::string_view text, size_t begin, CValueData& value, bool& malformed)
        : text_(text), value_(value), malformed_(malformed), begin_(begin) {}

    // The forms written with a prefix of "0" and a letter.
    bool Prefixed(char letter, bool (*isDigit)(unsigned char), unsigned base);
    bool Floating();
    bool Octal();
    void Decimal();
    // Where reading stopped.
    size_t End() const { return end_; }

private:
    // Notes the malformed literal and where reading resumes.
    bool Malformed(size_t resume);
    bool Read(size_t end) {
        end_ = end;
        return true;
    }

    std::string_view text_;
    CValueData& value_;
    bool& malformed_;
    size_t begin_;
    size_t end_ = 0;
};

bool LiteralReader::Malformed(size_t resume) {
    malformed_ = true;
    return Read(resume);
}

// hexadecimal -> ("0x" | "0X") hexdigit { hexdigit }
// binary      -> ("0b" | "0B") bindigit { bindigit }
bool LiteralReader::Prefixed(char letter, bool (*isDigit)(unsigned char), unsigned base) {
    if (!StartsWithPrefix(text_, begin_, letter)) return false;
    const size_t end = RunEnd(text_, begin_ + 2, isDigit);
    if (end == begin_ + 2) return Malformed(begin_ + 2);
    value_ = CValueData::Dword(LowBits(text_, begin_ + 2, end, base));
    return Read(end);
}

// floating -> digits "." [digits] [exponent] | "." digits [exponent] | digits exponent
// exponent -> ("e" | "E") ["+" | "-"] digits
bool LiteralReader::Floating() {
    size_t end = RunEnd(text_, begin_, IsDigit);
    const bool hasInteger = end > begin_;
    const bool hasPoint = CharAt(text_, end) == '.';
    if (hasPoint) {
        const size_t fractionEnd = RunEnd(text_, end + 1, IsDigit);
        if (!hasInteger && fractionEnd == end + 1) return Malformed(begin_ + 1);
        end = fractionEnd;
    } else if (!hasInteger) {
        return false;
    }
    const bool hasExponent = (CharAt(text_, end) | 0x20) == 'e';
    if (hasExponent) {
        ++end;
        if (CharAt(text_, end) == '+' || CharAt(text_, end) == '-') ++end;
        const size_t exponentEnd = RunEnd(text_, end, IsDigit);
        if (exponentEnd == end) return Malformed(end);
        end = exponentEnd;
    }
    if (!hasPoint && !hasExponent) return false;
    value_ = CValueData::Double(DecimalToDouble(text_.data() + begin_, text_.data() + end));
    return Read(end);
}

// octal -> "0" octdigit { octdigit }   (any "8" or "9" makes it decimal)
bool LiteralReader::Octal() {
    if (CharAt(text_, begin_) != '0') return false;
    const size_t end = RunEnd(text_, begin_ + 1, IsDigit);
    if (end == begin_ + 1) return false;
    for (size_t i = begin_ + 1; i < end; ++i) {
        if (text_[i] == '8' || text_[i] == '9') return false;
    }
    value_ = CValueData::Dword(LowBits(text_, begin_, end, 8));
    return Read(end);
}

// decimal -> digit { digit }; a decimal literal is an int, and one beyond
// 32 bits keeps its low 32 bits read as signed: «2147483648» is -2147483648.
void LiteralReader::Decimal() {
    const size_t end = RunEnd(text_, begin_, IsDigit);
    value_ = CValueData::Int(static_cast<int32_t>(LowBits(text_, begin_, end, 10)));
    end_ = end;
}

// Tries every form in order. ORDER: the floating form precedes the octal
// one, so «0.5» is a double; a leading "." is always claimed by the floating
// form, so the decimal form always finds a digit. Kept apart from ReadNumber
// so that the common decimal literal costs no more than its digits.
[[gnu::noinline]] size_t ReadAnyForm(std::string_view text, size_t begin, CValueData& value, bool& malformed) {
    LiteralReader reader(text, begin, value, malformed);
    if (!reader.Prefixed('x', IsHexDigit, 16) && !reader.Prefixed('b', IsBinaryDigit, 2) && !reader.Floating() &&
        !reader.Octal()) {
        reader.Decimal();
    }
    return reader.End();
}

// The digit run from begin: its end, and its value. A run beyond 32 bits
// keeps its low 32 bits read as signed, as decimal literals do.
struct Digits {
    size_t end;
    int32_t value;
    bool Empty(size_t begin) const { return end == begin; }
};

Digits ReadDigits(std::string_view text, size_t begin) {
    uint32_t value = 0;
    size_t end = begin;
    while (end < text.size() && IsDigit(static_cast<unsigned char>(text[end]))) {
        value = value * 10 + static_cast<unsigned char>(text[end]) - '0';
        ++end;
    }
    return {end, static_cast<int32_t>(value)};
}

bool IsDollar(std::string_view text, size_t at) { return at < text.size() && text[at] == '$'; }

// The mixed number a + b/c as one fraction, (c*a + b)/c, in 32-bit
// arithmetic that wraps around like every other integer operation.
int32_t MixedNumerator(int32_t whole, int32_t numerator, int32_t denominator) {
    const uint32_t product = static_cast<uint32_t>(denominator) * static_cast<uint32_t>(whole);
    return static_cast<int32_t>(product + static_cast<uint32_t>(numerator));
}

}  // namespace

// number -> hexadecimal | binary | floating | octal | decimal
size_t ReadNumber(std::string_view text, size_t begin, CValueData& value, bool& malformed) {
    const unsigned char first = CharAt(text, begin);
    size_t end = begin;
    int32_t decimal = 0;
    if (ReadPlainDecimal(text, begin, end, decimal)) {
        value = CValueData::Int(decimal);
        return end;
    }
    // A run of digits that does not start with "0" but goes on as a floating
    // literal can only be floating: the other forms need not look at it.
    if (first != '0' && first != '.') {
        LiteralReader reader(text, begin, value, malformed);
        reader.Floating();
        return reader.End();
    }
    // A lone "0" is the commonest literal that starts with "0".
    const unsigned char next = CharAt(text, begin + 1);
    if (first == '0' && !IsDigit(next) && next != '.' && (next | 0x20) != 'x' && (next | 0x20) != 'b' &&
        (next | 0x20) != 'e') {
        value = CValueData::Int(0);
        return begin + 1;
    }
    return ReadAnyForm(text, begin, value, malformed);
}

bool StartsFraction(std::string_view text, size_t begin) {
    const size_t end = RunEnd(text, begin, IsDigit);
    return end > begin && end < text.size() && text[end] == '$';
}

size_t ReadFraction(std::string_view text, size_t begin, CValueData& value, bool& malformed) {
    const Digits a = ReadDigits(text, begin);
    const Digits b = ReadDigits(text, a.end + 1);
    if (b.Empty(a.end + 1)) {
        malformed = true;
        return a.end + 1;
    }
    if (!IsDollar(text, b.end)) {
        // A zero over zero («0$0») cannot be reduced and stays 0/0.
        value = CValueData::Fraction(CFraction(a.value, b.value));
        return b.end;
    }
    const Digits c = ReadDigits(text, b.end + 1);
    if (c.Empty(b.end + 1)) {
        malformed = true;
        return b.end + 1;
    }
    value = CValueData::Fraction(CFraction(MixedNumerator(a.value, b.value, c.value), c.value));
    return c.end;
}
