#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "value/CValueData.h"

// The readers of numeric literals. Each reads the literal that starts at
// begin and answers where reading stops; a malformed literal sets malformed
// and answers where reading resumes.

namespace number_literal_detail {

// What the byte after a run of digits makes of it: the end of a decimal, a
// floating literal, or, after a "0", a hexadecimal or binary one. Looked up
// once instead of compared with seven bytes.
enum class AfterDigits : uint8_t { Ends, Floating, Radix };
inline constexpr auto kAfterDigits = [] {
    std::array<AfterDigits, 256> after{};
    for (const unsigned char c : {'.', 'e', 'E'}) after[c] = AfterDigits::Floating;
    for (const unsigned char c : {'x', 'X', 'b', 'B'}) after[c] = AfterDigits::Radix;
    return after;
}();

}  // namespace number_literal_detail

// The literal people type most: a run of digits that does not begin with
// "0", or a "0" alone, and does not go on as a floating literal. It is an int, and one
// beyond 32 bits keeps its low 32 bits read as signed («2147483648» is
// -2147483648). False for every other literal, which ReadNumber reads.
inline bool ReadPlainDecimal(std::string_view text, size_t begin, size_t& end, int32_t& value) {
    using number_literal_detail::AfterDigits;
    if (begin >= text.size() || text[begin] < '0' || text[begin] > '9') return false;
    uint32_t bits = 0;
    end = begin;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') bits = bits * 10 + static_cast<uint32_t>(text[end++] - '0');
    const char next = end < text.size() ? text[end] : '\0';
    const AfterDigits after = number_literal_detail::kAfterDigits[static_cast<unsigned char>(next)];
    if (after == AfterDigits::Floating) return false;
    // A "0" alone is the decimal 0; one that goes on is octal, hexadecimal
    // or binary. Worked out without a branch on the leading digit, which is
    // a "0" as randomly as the user's numbers are.
    if ((text[begin] == '0') & ((end > begin + 1) | (after == AfterDigits::Radix))) return false;
    value = static_cast<int32_t>(bits);
    return true;
}

// number -> hexadecimal | binary | floating | octal | decimal
// begin is a digit or ".".
size_t ReadNumber(std::string_view text, size_t begin, CValueData& value, bool& malformed);

// True when a run of digits at begin is followed by "$".
bool StartsFraction(std::string_view text, size_t begin);
// fraction -> digits "$" digits [ "$" digits ]
size_t ReadFraction(std::string_view text, size_t begin, CValueData& value, bool& malformed);
