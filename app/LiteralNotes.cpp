#include "app/LiteralNotes.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>

#include "app/CLineTokens.h"

namespace {

constexpr size_t kMostNotes = 3;

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// An integer literal's digits and base; nullopt for a floating literal.
struct IntegerDigits {
    std::string_view digits;
    unsigned base;
};

std::optional<IntegerDigits> IntegerLiteral(std::string_view text) {
    IntegerDigits literal{text, 10};
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        literal = {text.substr(2), 16};
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'b' || text[1] == 'B')) {
        literal = {text.substr(2), 2};
    } else if (text.size() > 1 && text[0] == '0') {
        literal = {text.substr(1), 8};
    }
    for (const char c : literal.digits) {
        if (DigitValue(c) >= static_cast<int>(literal.base)) return std::nullopt;
    }
    return literal;
}

// How to get the value the digits stand for: a floating literal.
std::string FloatingAdvice(std::string_view text, const IntegerDigits& literal) {
    double value = 0;
    for (const char c : literal.digits) value = value * literal.base + DigitValue(c);
    if (!std::isfinite(value)) return "it is too large even for a double";
    if (literal.base == 10) {
        const std::string shown = ShownText(text);
        return shown.size() == text.size() ? "write " + shown + ".0 for its value as a double"
                                           : "write it with \".0\" at its end for its value as a double";
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, value < 1e17 ? "%.1f" : "%.17g", value);
    return std::string("write ") + buffer + " for its value as a double";
}

bool FitsIn32Bits(const IntegerDigits& literal) {
    uint64_t value = 0;
    for (const char c : literal.digits) {
        value = value * literal.base + static_cast<unsigned>(DigitValue(c));
        if (value > UINT32_MAX) return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> WideLiteralNotes(CLineTokens& tokens) {
    std::vector<std::string> notes;
    size_t more = 0;
    for (size_t i = 0; i < tokens.Count(); ++i) {
        const Token token = tokens.At(i);
        if (token.kind != TokenKind::Number || token.faulty) continue;
        const std::string_view text = tokens.Text(i);
        const std::optional<IntegerDigits> literal = IntegerLiteral(text);
        if (!literal || FitsIn32Bits(*literal)) continue;
        if (notes.size() == kMostNotes) {
            ++more;
            continue;
        }
        notes.push_back("note: " + ShownText(text) + " does not fit in 32 bits, so only its low 32 bits are kept; " +
                        FloatingAdvice(text, *literal));
    }
    if (more > 0) notes.push_back("note: and " + std::to_string(more) + " more literals that do not fit in 32 bits");
    return notes;
}
