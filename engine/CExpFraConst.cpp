#include "engine/CExpFraConst.h"

#include <cstdint>

#include "engine/ParseHelpers.h"

namespace {

constexpr int kBadFraction = 5;   // (5, 5) "分数定数値の記述が誤っています"

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// The digit run from begin: its end, and its value. A run beyond 32 bits
// keeps its low 32 bits read as signed, as decimal literals do.
struct Digits {
    size_t end;
    int32_t value;
    bool Empty(size_t begin) const { return end == begin; }
};

Digits ReadDigits(const std::string& text, size_t begin) {
    uint32_t value = 0;
    size_t end = begin;
    while (end < text.size() && IsDigit(static_cast<unsigned char>(text[end]))) {
        value = value * 10 + static_cast<unsigned char>(text[end]) - '0';
        ++end;
    }
    return {end, static_cast<int32_t>(value)};
}

bool IsDollar(const std::string& text, size_t at) { return at < text.size() && text[at] == '$'; }

// The mixed number a + b/c as one fraction, (c*a + b)/c, in 32-bit
// arithmetic that wraps around like every other integer operation.
int32_t MixedNumerator(int32_t whole, int32_t numerator, int32_t denominator) {
    const uint32_t product = static_cast<uint32_t>(denominator) * static_cast<uint32_t>(whole);
    return static_cast<int32_t>(product + static_cast<uint32_t>(numerator));
}

}  // namespace

// fraction -> digits "$" digits [ "$" digits ]
// The item's position is the literal's first character, so that a fault in
// an operation on the fraction points at it.
bool CExpFraConst::Parse(CExpSource& source, const std::string& text) {
    SkipBlanks(source, text);
    if (AtEnd(source, text)) return false;
    const size_t begin = source.position;
    const Digits a = ReadDigits(text, begin);
    if (a.Empty(begin) || !IsDollar(text, a.end)) return false;
    SetPosition(source.position);

    const Digits b = ReadDigits(text, a.end + 1);
    if (b.Empty(a.end + 1)) return Malformed(source, a.end + 1);
    if (!IsDollar(text, b.end)) {
        // A zero over zero («0$0») cannot be reduced and stays 0/0.
        value_ = CValueData::Fraction(CFraction(a.value, b.value));
        source.position = static_cast<int>(b.end);
        return true;
    }
    const Digits c = ReadDigits(text, b.end + 1);
    if (c.Empty(b.end + 1)) return Malformed(source, b.end + 1);
    value_ = CValueData::Fraction(CFraction(MixedNumerator(a.value, b.value, c.value), c.value));
    source.position = static_cast<int>(c.end);
    return true;
}

bool CExpFraConst::Malformed(CExpSource& source, size_t resume) {
    source.AddDiag(source.position, EXP_FRA_CONST, kBadFraction);
    source.position = static_cast<int>(resume);
    return true;
}
