#include "app/CLineTokens.h"

#include "engine/lexer/OperatorTable.h"

namespace {

bool Opens(TokenKind kind) {
    return kind == TokenKind::LParen || kind == TokenKind::LBracket || kind == TokenKind::LBrace;
}

bool Closes(TokenKind kind) {
    return kind == TokenKind::RParen || kind == TokenKind::RBracket || kind == TokenKind::RBrace;
}

bool IsLiteralOrName(TokenKind kind) {
    return kind == TokenKind::Name || kind == TokenKind::Number || kind == TokenKind::Fraction ||
           kind == TokenKind::Char || kind == TokenKind::String;
}

}  // namespace

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

bool CLineTokens::IsSemicolon(size_t index) {
    return At(index).kind == TokenKind::Other && Text(index) == ";";
}

bool CLineTokens::Touch(size_t index) {
    return index + 1 < count_ && At(index).end == At(index + 1).start;
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

std::string_view CLineTokens::Span(size_t first, size_t last) {
    if (first > last || last >= count_) return {};
    const auto start = static_cast<size_t>(At(first).start);
    return Line().substr(start, static_cast<size_t>(At(last).end) - start);
}

size_t CLineTokens::Closing(size_t open) {
    if (!Opens(At(open).kind)) return count_;
    size_t depth = 0;
    for (size_t i = open; i < count_; ++i) {
        const TokenKind kind = At(i).kind;
        if (Opens(kind)) ++depth;
        if (Closes(kind) && --depth == 0) return i;
    }
    return count_;
}

size_t CLineTokens::Opening(size_t close) {
    if (!Closes(At(close).kind)) return count_;
    size_t depth = 0;
    for (size_t i = close + 1; i-- > 0;) {
        const TokenKind kind = At(i).kind;
        if (Closes(kind)) ++depth;
        if (Opens(kind) && --depth == 0) return i;
    }
    return count_;
}

// operand -> literal | name | name "(" … ")" | name "[" … "]" { "[" … "]" } | "(" … ")"
size_t CLineTokens::OperandStart(size_t last) {
    if (last >= count_) return count_;
    const TokenKind kind = At(last).kind;
    if (IsLiteralOrName(kind)) return last;
    if (kind == TokenKind::RBracket) {
        size_t open = Opening(last);
        while (open != count_ && open > 0 && At(open - 1).kind == TokenKind::RBracket) open = Opening(open - 1);
        return open != count_ && open > 0 && At(open - 1).kind == TokenKind::Name ? open - 1 : count_;
    }
    if (kind != TokenKind::RParen) return count_;
    const size_t open = Opening(last);
    if (open == count_) return count_;
    return open > 0 && At(open - 1).kind == TokenKind::Name ? open - 1 : open;
}

size_t CLineTokens::OperandEnd(size_t first) {
    size_t i = first;
    while (At(i).kind == TokenKind::Operator && OperatorRow(At(i).row).operands == 1) ++i;
    const TokenKind kind = At(i).kind;
    if (kind == TokenKind::LParen) return Closing(i);
    if (!IsLiteralOrName(kind)) return count_;
    if (kind != TokenKind::Name) return i;
    if (At(i + 1).kind == TokenKind::LParen) return Closing(i + 1);
    while (At(i + 1).kind == TokenKind::LBracket) {
        i = Closing(i + 1);
        if (i == count_) return count_;
    }
    return i;
}

size_t CLineTokens::ValueEnd(size_t first) {
    size_t depth = 0;
    for (size_t i = first; i < count_; ++i) {
        const TokenKind kind = At(i).kind;
        if (Opens(kind)) ++depth;
        if (Closes(kind) && depth-- == 0) return i;
        if (depth == 0 && (IsSemicolon(i) || IsOperator(i, OP_COMMA))) return i;
    }
    return count_;
}
