#include "engine/CExpNumConst.h"

#include <charconv>
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
    LiteralReader(CExpSource& source, const std::string& text, CValueData& value)
        : source_(source), text_(text), value_(value), begin_(static_cast<size_t>(source.position)) {}

    // The forms written with a prefix of "0" and a letter.
    bool Prefixed(char letter, bool (*isDigit)(unsigned char), unsigned base);
    bool Floating();
    bool Octal();
    void Decimal();

private:
    // Records the malformed literal and moves the cursor to resume.
    bool Malformed(size_t resume);

    CExpSource& source_;
    const std::string& text_;
    CValueData& value_;
    size_t begin_;
};

bool LiteralReader::Malformed(size_t resume) {
    source_.AddDiag(static_cast<int>(begin_), EXP_NUM_CONST, kBadNumber);
    source_.position = static_cast<int>(resume);
    return true;
}

// hexadecimal -> ("0x" | "0X") hexdigit { hexdigit }
// binary      -> ("0b" | "0B") bindigit { bindigit }
bool LiteralReader::Prefixed(char letter, bool (*isDigit)(unsigned char), unsigned base) {
    if (!StartsWithPrefix(text_, begin_, letter)) return false;
    const size_t end = RunEnd(text_, begin_ + 2, isDigit);
    if (end == begin_ + 2) return Malformed(begin_ + 2);
    value_ = CValueData::Dword(LowBits(text_, begin_ + 2, end, base));
    source_.position = static_cast<int>(end);
    return true;
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
    source_.position = static_cast<int>(end);
    return true;
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
    source_.position = static_cast<int>(end);
    return true;
}

// decimal -> digit { digit }; a decimal literal is an int, and one beyond
// 32 bits keeps its low 32 bits read as signed: «2147483648» is -2147483648.
void LiteralReader::Decimal() {
    const size_t end = RunEnd(text_, begin_, IsDigit);
    value_ = CValueData::Int(static_cast<int32_t>(LowBits(text_, begin_, end, 10)));
    source_.position = static_cast<int>(end);
}

// Tries every form in order. ORDER: the floating form precedes the octal
// one, so «0.5» is a double; a leading "." is always claimed by the floating
// form, so the decimal form always finds a digit. Kept apart from Read so
// that the common decimal literal costs no more than its digits.
[[gnu::noinline]] void ReadAnyForm(CExpSource& source, const std::string& text, CValueData& value) {
    LiteralReader reader(source, text, value);
    if (!reader.Prefixed('x', IsHexDigit, 16) && !reader.Prefixed('b', IsBinaryDigit, 2) && !reader.Floating() &&
        !reader.Octal()) {
        reader.Decimal();
    }
}

}  // namespace

// number -> hexadecimal | binary | floating | octal | decimal
bool CExpNumConst::Read(CExpSource& source, const std::string& text, CValueData& value) {
    const unsigned char first = CurrentChar(source, text);
    if (!IsDigit(first) && first != '.') return false;
    // A run of digits that neither starts with "0" nor goes on as a floating
    // literal can only be decimal: the other forms need not look at it.
    if (first != '0' && first != '.') {
        const size_t begin = static_cast<size_t>(source.position);
        const size_t end = RunEnd(text, begin, IsDigit);
        const unsigned char next = CharAt(text, end);
        if (next != '.' && (next | 0x20) != 'e') {
            value = CValueData::Int(static_cast<int32_t>(LowBits(text, begin, end, 10)));
            source.position = static_cast<int>(end);
            return true;
        }
        // Nor can one that does go on be anything but floating.
        LiteralReader(source, text, value).Floating();
        return true;
    }
    // A lone "0" is the commonest literal that starts with "0".
    const unsigned char next = CharAt(text, static_cast<size_t>(source.position) + 1);
    if (first == '0' && !IsDigit(next) && next != '.' && (next | 0x20) != 'x' && (next | 0x20) != 'b' &&
        (next | 0x20) != 'e') {
        value = CValueData::Int(0);
        ++source.position;
        return true;
    }
    ReadAnyForm(source, text, value);
    return true;
}

bool CExpNumConst::Parse(CExpSource& source, const std::string& text) {
    SkipBlanks(source, text);
    SetPosition(source.position);
    return Read(source, text, value_);
}
