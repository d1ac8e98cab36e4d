#include "engine/lexer/TextLiteral.h"

#include <string>

namespace {

void Fault(std::vector<LexFault>& faults, size_t position, Diag id) {
    faults.push_back({static_cast<int>(position), id, false});
}

unsigned char ByteAt(std::string_view text, size_t at) {
    return at < text.size() ? static_cast<unsigned char>(text[at]) : 0;
}

// A character constant holds one byte of plain text: control characters and
// the bytes of multi-byte characters are refused.
bool IsForbiddenInChar(unsigned char c) { return c < 0x20 || c == 0x7f || c >= 0x80; }

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

// Up to three digits of the base from at; the low 8 bits of their value.
// Moves at past exactly the digits used.
template <class IsDigitOf>
char ReadNumericEscape(std::string_view text, size_t& at, unsigned base, IsDigitOf isDigit) {
    unsigned value = 0;
    for (int used = 0; used < 3 && at < text.size() && isDigit(ByteAt(text, at)); ++used) {
        value = value * base + DigitValue(ByteAt(text, at));
        ++at;
    }
    return static_cast<char>(value & 0xff);
}

// The escape whose character is at at (the backslash is behind it).
char ReadEscape(std::string_view text, size_t& at, std::vector<LexFault>& faults) {
    const unsigned char c = ByteAt(text, at);
    for (const SimpleEscape& escape : kSimpleEscapes) {
        if (c == static_cast<unsigned char>(escape.letter)) {
            ++at;
            return escape.byte;
        }
    }
    if (IsOctalDigit(c)) return ReadNumericEscape(text, at, 8, IsOctalDigit);
    if (c == 'x') {
        ++at;
        return ReadNumericEscape(text, at, 16, IsHexDigit);
    }
    Fault(faults, at, Diag::StringBadEscape);
    ++at;
    return static_cast<char>(c);
}

}  // namespace

// The faults all point at the first byte after the quote, but a missing
// closing quote, which points where it is missed.
size_t ReadChar(std::string_view text, size_t begin, CValueData& value, std::vector<LexFault>& faults) {
    const size_t first = begin + 1;
    size_t count = 0;
    for (size_t at = first; at < text.size() && text[at] != '\''; ++at, ++count) {
        if (IsForbiddenInChar(static_cast<unsigned char>(text[at]))) {
            Fault(faults, first, Diag::CharForbidden);
            break;
        }
    }
    if (count == 0) {
        Fault(faults, first, Diag::CharEmpty);
    } else {
        value = CValueData::Char(static_cast<int8_t>(text[first]));
        if (count > 1) Fault(faults, first, Diag::CharTruncated);
    }
    size_t end = first + count;
    if (ByteAt(text, end) == '\'') {
        ++end;
    } else {
        Fault(faults, end, Diag::CharUnclosed);
    }
    return end;
}

// Bytes of 0x80 and above are copied unchanged; each byte is looked at on
// its own, so a trail byte 0x5C starts an escape like a backslash.
size_t ReadString(std::string_view text, size_t begin, CValueData& value, std::vector<LexFault>& faults) {
    size_t at = begin + 1;
    std::string content;
    while (at < text.size() && text[at] != '"') {
        const unsigned char c = ByteAt(text, at);
        if (IsControl(c)) {
            Fault(faults, at, Diag::StringForbidden);
            break;
        }
        ++at;
        if (c != '\\') {
            content += static_cast<char>(c);
        } else if (at < text.size()) {
            content += ReadEscape(text, at, faults);
        }
    }
    value = CValueData::String(std::string_view(content));
    if (ByteAt(text, at) == '"') {
        ++at;
    } else {
        Fault(faults, at, Diag::StringUnclosed);
    }
    return at;
}
