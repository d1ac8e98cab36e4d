#include "engine/ParseHelpers.h"

#include <array>
#include <cctype>

#include "engine/CExpComment.h"

bool SkipSpaces(CExpSource& source, const std::string& text) {
    const int start = source.position;
    while (!AtEnd(source, text) && IsBlank(CurrentChar(source, text))) ++source.position;
    return source.position != start;
}

bool SkipBlanks(CExpSource& source, const std::string& text) {
    const int start = source.position;
    for (;;) {
        SkipSpaces(source, text);
        // Every comment starts with "/"; anything else ends the blanks.
        if (CurrentChar(source, text) != '/') break;
        if (CExpComment block; block.Parse(source, text)) continue;
        if (CExpCommentLine line; line.Parse(source, text)) continue;
        break;
    }
    return source.position != start;
}

namespace {

bool IsIdentifierStart(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsIdentifierChar(unsigned char c) { return IsIdentifierStart(c) || (c >= '0' && c <= '9'); }

}  // namespace

std::string ReadIdentifier(const CExpSource& source, const std::string& text) {
    if (AtEnd(source, text) || !IsIdentifierStart(CurrentChar(source, text))) return {};
    size_t end = source.position;
    while (end < text.size() && IsIdentifierChar(static_cast<unsigned char>(text[end]))) ++end;
    return text.substr(source.position, end - source.position);
}

bool IsReserved(const std::string& word) {
    static constexpr std::array kReserved = {
        "char",  "byte",   "short",  "word", "long",     "dword",    "llong", "qword",
        "int",   "bool",   "true",   "false", "float",   "double",   "string", "struct",
        "argument", "if",  "else",   "while", "for",     "break",    "continue", "return"};
    for (const char* reserved : kReserved) {
        if (word == reserved) return true;
    }
    return false;
}

int TypeCodeOf(const std::string& word) {
    struct TypeWord {
        const char* word;
        int code;
    };
    // ORDER: the words are compared in this order.
    static constexpr TypeWord kTypeWords[] = {
        {"char", 1}, {"byte", 2},  {"short", 3}, {"word", 4},    {"long", 5},   {"dword", 7},
        {"int", 5},  {"bool", 10}, {"float", 8}, {"double", 9}, {"string", 12}};
    for (const TypeWord& t : kTypeWords) {
        if (word == t.word) return t.code;
    }
    return 0;
}

std::string TypeNameOf(int code) {
    static constexpr const char* kNames[] = {"",     "char",  "byte",   "short", "word",
                                             "int",  "long",  "dword",  "float", "double",
                                             "bool", "",      "string"};
    return code >= 0 && code <= 12 ? kNames[code] : "";
}
