#pragma once

#include <string>
#include <string_view>

// The character classes and words of the language. Bytes of 0x80 and above
// belong to multi-byte characters and never qualify; the classes are
// spelled out so that no locale applies.

// The C locale's white space: blank, tab, line feed, vertical tab, form feed
// and carriage return.
constexpr bool IsBlank(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
constexpr bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
// The characters a name may begin with.
constexpr bool IsIdentifierStart(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
// The characters a name may continue with.
constexpr bool IsIdentifierChar(unsigned char c) { return IsIdentifierStart(c) || IsDigit(c); }

bool IsReserved(std::string_view word);
int TypeCodeOf(std::string_view word);   // 0 for a word that is no type
std::string TypeNameOf(int code);          // "" for 0, 11 and unknown codes
