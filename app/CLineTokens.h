#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/lexer/CLexer.h"

// The tokens of a line as the front end reads them after the line ran, to
// tell a person at a terminal more about it. They are cut by the language's
// own lexer, so a habit is seen where the parser saw a token; at most
// kMaxTokens of them, so a huge line costs a bounded scan.
class CLineTokens {
public:
    static constexpr size_t kMaxTokens = 100'000;

    // Starts on a line, which must outlive the use of the tokens.
    void Reset(std::string_view line);

    // The number of tokens, the End token not counted.
    size_t Count() const { return count_; }
    // The token at index; every index from Count() on gives the End token.
    Token At(size_t index) { return index < count_ ? lexer_.At(index) : Token{0, 0, TokenKind::End, 0, false, -1}; }
    std::string_view Text(size_t index);
    bool IsOperator(size_t index, int code);
    bool IsName(size_t index, std::string_view name);
    // The token is ";", which the language has no use for.
    bool IsSemicolon(size_t index);
    // Token index ends where token index + 1 begins: «**», «1.5f».
    bool Touch(size_t index);
    std::string_view Line() const { return lexer_.Line(); }
    // The index of the token of that kind that begins or ends at position
    // (a diagnostic points at one or the other), or Count() when none does.
    size_t KindAt(int position, TokenKind kind);

    // The line's text from the start of token first to the end of token
    // last, as typed.
    std::string_view Span(size_t first, size_t last);
    // The bracket that closes the one at open, "(", "[" or "{", or Count()
    // when none does; the bracket that opens the one at close, or Count().
    size_t Closing(size_t open);
    size_t Opening(size_t close);
    // The first token of the operand that ends with token last: a literal, a
    // name, a call, an array element or a parenthesised group; Count() when
    // token last ends none.
    size_t OperandStart(size_t last);
    // The last token of the operand that begins at token first, its sign and
    // other prefix operators included; Count() when none begins there.
    size_t OperandEnd(size_t first);
    // The first token from first on that ends a value: a "," or ";" outside
    // brackets, a bracket closing one opened before first, or the end.
    size_t ValueEnd(size_t first);

private:
    CLexer lexer_;
    size_t count_ = 0;
};

// A token's text as a person is shown it: whole up to 40 bytes, a longer one
// cut short with "...", since a line may be megabytes long.
std::string ShownText(std::string_view text);
