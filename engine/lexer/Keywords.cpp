#include "engine/lexer/Keywords.h"

#include <array>

bool IsReserved(std::string_view word) {
    // Views, so that a comparison looks at the lengths first.
    static constexpr std::array<std::string_view, 24> kReserved = {
        "char",  "byte",   "short",  "word", "long",     "dword",    "llong", "qword",
        "int",   "bool",   "true",   "false", "float",   "double",   "string", "struct",
        "argument", "if",  "else",   "while", "for",     "break",    "continue", "return"};
    for (std::string_view reserved : kReserved) {
        if (!word.empty() && word[0] == reserved[0] && word == reserved) return true;
    }
    return false;
}

int TypeCodeOf(std::string_view word) {
    struct TypeWord {
        std::string_view word;
        int code;
    };
    // ORDER: the words are compared in this order.
    static constexpr TypeWord kTypeWords[] = {
        {"char", 1}, {"byte", 2},  {"short", 3}, {"word", 4},    {"long", 5},   {"dword", 7},
        {"int", 5},  {"bool", 10}, {"float", 8}, {"double", 9}, {"string", 12}};
    for (const TypeWord& t : kTypeWords) {
        if (!word.empty() && word[0] == t.word[0] && word == t.word) return t.code;
    }
    return 0;
}

std::string TypeNameOf(int code) {
    static constexpr const char* kNames[] = {"",     "char",  "byte",   "short", "word",
                                             "int",  "long",  "dword",  "float", "double",
                                             "bool", "",      "string"};
    return code >= 0 && code <= 12 ? kNames[code] : "";
}
