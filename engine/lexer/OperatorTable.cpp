#include "engine/lexer/OperatorTable.h"

#include <array>
#include <cstdint>

namespace {

// The rows that can match text beginning with one character: its
// two-character rows, tried first, and its one-character row. A row reached
// only by re-coding is never matched.
struct FirstCharRows {
    std::array<uint8_t, 4> pairs{};   // rows of two-character operators
    std::array<char, 4> seconds{};    // their second characters
    uint8_t pairCount = 0;
    uint8_t single = 0;               // kOperators.size() when there is none
};

constexpr std::array<FirstCharRows, 256> kRowsByFirstChar = [] {
    std::array<FirstCharRows, 256> byChar{};
    for (FirstCharRows& rows : byChar) rows.single = static_cast<uint8_t>(kOperators.size());
    for (size_t row = 0; row < kOperators.size(); ++row) {
        if (!operator_table_detail::IsRecognised(row)) continue;
        FirstCharRows& rows = byChar[static_cast<unsigned char>(kOperators[row].text[0])];
        if (kOperators[row].text[1] == '\0') {
            rows.single = static_cast<uint8_t>(row);
        } else {
            rows.seconds[rows.pairCount] = kOperators[row].text[1];
            rows.pairs[rows.pairCount++] = static_cast<uint8_t>(row);
        }
    }
    return byChar;
}();

// The characters that end a two-character operator. Most operators are
// followed by a blank, a digit or a name: this one look-up settles them
// without a loop whose length would change with the operator.
constexpr std::array<bool, 256> kEndsPair = [] {
    std::array<bool, 256> ends{};
    for (const OperatorDef& row : kOperators) {
        if (row.text[0] != '\0' && row.text[1] != '\0') ends[static_cast<unsigned char>(row.text[1])] = true;
    }
    return ends;
}();

}  // namespace

OperatorMatch MatchOperator(const char* s) {
    if (s[0] == '\0') return {-1, 0};
    const FirstCharRows& rows = kRowsByFirstChar[static_cast<unsigned char>(s[0])];
    if (kEndsPair[static_cast<unsigned char>(s[1])]) {
        for (uint8_t i = 0; i < rows.pairCount; ++i) {
            if (rows.seconds[i] == s[1]) return {rows.pairs[i], 2};
        }
    }
    return {rows.single < kOperators.size() ? rows.single : -1, 1};
}
