#pragma once

#include <string>

#include "engine/CExpDiag.h"

// Shared helpers of the item parsers. "text" is the whole line, "source" the
// parse cursor.

// Advances over white space; true when the position moved.
bool SkipSpaces(CExpSource& source, const std::string& text);
// Advances over white space and comments; true when the position moved.
bool SkipBlanks(CExpSource& source, const std::string& text);
// The identifier at the position ([A-Za-z_][A-Za-z0-9_]*), without moving.
std::string ReadIdentifier(const CExpSource& source, const std::string& text);
bool IsReserved(const std::string& word);
int TypeCodeOf(const std::string& word);   // 0 for a word that is no type
std::string TypeNameOf(int code);          // "" for 0, 11 and unknown codes

// The C locale's white space: blank, tab, line feed, vertical tab, form feed
// and carriage return.
inline bool IsBlank(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

inline bool AtEnd(const CExpSource& source, const std::string& text) {
    return source.position < 0 || static_cast<size_t>(source.position) >= text.size();
}
// The byte at the position, or 0 at the end.
inline unsigned char CurrentChar(const CExpSource& source, const std::string& text) {
    return AtEnd(source, text) ? 0 : static_cast<unsigned char>(text[source.position]);
}
