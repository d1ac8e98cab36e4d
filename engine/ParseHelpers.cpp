#include "engine/ParseHelpers.h"

#include <array>
#include <cctype>

#include "engine/CExpComment.h"

bool SkipSpaces(CExpSource& source, const std::string& text) {
    if (source.position < 0) return false;
    size_t at = static_cast<size_t>(source.position);
    const size_t start = at;
    while (at < text.size() && IsBlank(static_cast<unsigned char>(text[at]))) ++at;
    source.position = static_cast<int>(at);
    return at != start;
}

namespace {

// Moves over one comment at the cursor; false when there is none.
bool SkipComment(CExpSource& source, const std::string& text) {
    if (CExpComment block; block.Parse(source, text)) return true;
    if (CExpCommentLine line; line.Parse(source, text)) return true;
    return false;
}

}  // namespace

// The cursor stands on a "/": moves over the comments there and the white
// space between and after them.
void SkipComments(CExpSource& source, const std::string& text) {
    while (CurrentChar(source, text) == '/' && SkipComment(source, text)) SkipSpaces(source, text);
}

std::string_view IdentifierAt(const CExpSource& source, const std::string& text) {
    if (AtEnd(source, text) || !IsIdentifierStart(CurrentChar(source, text))) return {};
    size_t end = source.position;
    while (end < text.size() && IsIdentifierChar(static_cast<unsigned char>(text[end]))) ++end;
    return std::string_view(text).substr(source.position, end - source.position);
}

std::string ReadIdentifier(const CExpSource& source, const std::string& text) {
    return std::string(IdentifierAt(source, text));
}

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
