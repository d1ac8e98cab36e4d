#include "engine/CExpStrConst.h"

#include "engine/ParseHelpers.h"

namespace {

constexpr int kMissingQuote = 1;   // (7, 1) "対応する引用符がありません"
constexpr int kForbidden = 2;      // (7, 2) "使用できない文字コードを検出しました"
constexpr int kBadEscape = 3;      // (7, 3) "エスケープシーケンスが正しくありません"

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7f; }
bool IsOctalDigit(unsigned char c) { return c >= '0' && c <= '7'; }
bool IsHexDigit(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
unsigned DigitValue(unsigned char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; }

struct SimpleEscape {
    char letter;
    char byte;
};

constexpr SimpleEscape kSimpleEscapes[] = {
    {'n', '\n'}, {'t', '\t'}, {'v', '\v'}, {'b', '\b'},  {'r', '\r'},
    {'f', '\f'}, {'a', '\a'}, {'\'', '\''}, {'"', '"'}, {'\\', '\\'},
};

// Up to three digits of the base from the cursor; the low 8 bits of their
// value. Consumes exactly the digits used.
template <class IsDigitOf>
char ReadNumericEscape(CExpSource& source, const std::string& text, unsigned base, IsDigitOf isDigit) {
    unsigned value = 0;
    for (int used = 0; used < 3 && !AtEnd(source, text) && isDigit(CurrentChar(source, text)); ++used) {
        value = value * base + DigitValue(CurrentChar(source, text));
        ++source.position;
    }
    return static_cast<char>(value & 0xff);
}

// The escape whose character is at the cursor (the backslash is consumed).
char ReadEscape(CExpSource& source, const std::string& text) {
    const unsigned char c = CurrentChar(source, text);
    for (const SimpleEscape& escape : kSimpleEscapes) {
        if (c == static_cast<unsigned char>(escape.letter)) {
            ++source.position;
            return escape.byte;
        }
    }
    if (IsOctalDigit(c)) return ReadNumericEscape(source, text, 8, IsOctalDigit);
    if (c == 'x') {
        ++source.position;
        return ReadNumericEscape(source, text, 16, IsHexDigit);
    }
    source.AddDiag(source.position, EXP_STR_CONST, kBadEscape);
    ++source.position;
    return static_cast<char>(c);
}

}  // namespace

// string -> '"' { char | escape } '"'
// Bytes of 0x80 and above are copied unchanged; each byte is looked at on
// its own, so a trail byte 0x5C starts an escape like a backslash.
bool CExpStrConst::Parse(CExpSource& source, const std::string& text) {
    SkipBlanks(source, text);
    if (CurrentChar(source, text) != '"') return false;
    SetPosition(source.position);
    ++source.position;

    std::string content;
    while (!AtEnd(source, text) && CurrentChar(source, text) != '"') {
        const unsigned char c = CurrentChar(source, text);
        if (IsControl(c)) {
            source.AddDiag(source.position, EXP_STR_CONST, kForbidden);
            break;
        }
        ++source.position;
        if (c != '\\') {
            content += static_cast<char>(c);
        } else if (!AtEnd(source, text)) {
            content += ReadEscape(source, text);
        }
    }
    value_ = CValueData::String(content);
    if (CurrentChar(source, text) == '"') {
        ++source.position;
    } else {
        source.AddDiag(source.position, EXP_STR_CONST, kMissingQuote);
    }
    return true;
}
