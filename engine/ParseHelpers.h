#pragma once

#include <string>
#include <string_view>

#include "engine/CExpDiag.h"

// Shared helpers of the item parsers. "text" is the whole line, "source" the
// parse cursor.

// Advances over white space; true when the position moved.
bool SkipSpaces(CExpSource& source, const std::string& text);
// The identifier at the position ([A-Za-z_][A-Za-z0-9_]*), without moving.
std::string ReadIdentifier(const CExpSource& source, const std::string& text);
// The same identifier as a view into text.
std::string_view IdentifierAt(const CExpSource& source, const std::string& text);
bool IsReserved(std::string_view word);
int TypeCodeOf(std::string_view word);   // 0 for a word that is no type
std::string TypeNameOf(int code);          // "" for 0, 11 and unknown codes

// The C locale's white space: blank, tab, line feed, vertical tab, form feed
// and carriage return.
inline bool IsBlank(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The characters a name may begin with.
inline bool IsIdentifierStart(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
// The characters a name may continue with.
inline bool IsIdentifierChar(unsigned char c) { return IsIdentifierStart(c) || (c >= '0' && c <= '9'); }

inline bool AtEnd(const CExpSource& source, const std::string& text) {
    return source.position < 0 || static_cast<size_t>(source.position) >= text.size();
}
// The byte at the position, or 0 at the end.
inline unsigned char CurrentChar(const CExpSource& source, const std::string& text) {
    return AtEnd(source, text) ? 0 : static_cast<unsigned char>(text[source.position]);
}

// Advances over white space and comments; true when the position moved.
// Every item parser starts with it, so the white space is skipped here and
// only a comment costs a call.
void SkipComments(CExpSource& source, const std::string& text);
inline bool SkipBlanks(CExpSource& source, const std::string& text) {
    const int start = source.position;
    if (start < 0) return false;
    size_t at = static_cast<size_t>(start);
    while (at < text.size() && IsBlank(static_cast<unsigned char>(text[at]))) ++at;
    source.position = static_cast<int>(at);
    if (at < text.size() && text[at] == '/') SkipComments(source, text);
    return source.position != start;
}
