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

namespace {

struct TypeWord {
    std::string_view word;
    int code;
};
// ORDER: the words are compared in this order.
constexpr TypeWord kTypeWords[] = {
    {"char", 1}, {"byte", 2},  {"short", 3}, {"word", 4},    {"long", 5},   {"dword", 7},
    {"int", 5},  {"bool", 10}, {"float", 8}, {"double", 9}, {"string", 12}};

// Whether a type word begins with the byte: every line's first word is
// asked, and most, being names, are told apart by one look-up.
constexpr auto kBeginsTypeWord = [] {
    std::array<bool, 256> begins{};
    for (const TypeWord& t : kTypeWords) begins[static_cast<unsigned char>(t.word[0])] = true;
    return begins;
}();

}  // namespace

int TypeCodeOf(std::string_view word) {
    if (word.empty() || !kBeginsTypeWord[static_cast<unsigned char>(word[0])]) return 0;
    for (const TypeWord& t : kTypeWords) {
        if (word[0] == t.word[0] && word == t.word) return t.code;
    }
    return 0;
}

std::string TypeNameOf(int code) {
    static constexpr const char* kNames[] = {"",     "char",  "byte",   "short", "word",
                                             "int",  "long",  "dword",  "float", "double",
                                             "bool", "",      "string"};
    return code >= 0 && code <= 12 ? kNames[code] : "";
}
