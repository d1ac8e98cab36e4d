#include "app/CLineTokens.h"

#include "engine/lexer/OperatorTable.h"

std::string ShownText(std::string_view text) {
    constexpr size_t kLimit = 40;
    if (text.size() <= kLimit) return std::string(text);
    return std::string(text.substr(0, kLimit)) + "...";
}

void CLineTokens::Reset(std::string_view line) {
    lexer_.Reset(line);
    count_ = 0;
    while (count_ < kMaxTokens && lexer_.At(count_).kind != TokenKind::End) ++count_;
}

std::string_view CLineTokens::Text(size_t index) {
    return index < count_ ? lexer_.TextOf(lexer_.At(index)) : std::string_view();
}

bool CLineTokens::IsOperator(size_t index, int code) {
    const Token token = At(index);
    return token.kind == TokenKind::Operator && OperatorRow(token.row).code == code;
}

bool CLineTokens::IsName(size_t index, std::string_view name) {
    return At(index).kind == TokenKind::Name && Text(index) == name;
}

size_t CLineTokens::KindAt(int position, TokenKind kind) {
    // Tokens come in the order of the line: the first that begins at or
    // after position, and the one before it.
    size_t low = 0;
    size_t high = count_;
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (lexer_.At(middle).start < position) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    if (low < count_ && lexer_.At(low).start == position && lexer_.At(low).kind == kind) return low;
    if (low > 0 && lexer_.At(low - 1).end == position && lexer_.At(low - 1).kind == kind) return low - 1;
    return count_;
}
