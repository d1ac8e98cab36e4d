#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/lexer/Token.h"
#include "value/CValueData.h"

// Cuts a line into tokens. Tokens are made on demand, a few at a time, as
// the parser asks for them, so a line that is refused early is never read
// to its end; the vectors are kept from line to line, so their capacity
// serves every later line without allocating.
class CLexer {
public:
    // Starts on a new line, of which it keeps a copy: the tokens, and views
    // of their text, are valid until the next Reset.
    void Reset(std::string_view line);

    // The token at index; every index past the end gives the End token.
    Token At(size_t index) {
        if (index < count_) [[likely]] return tokens_[index];
        return AtNew(index);
    }
    // A token lies inside its line.
    std::string_view TextOf(const Token& token) const {
        return {line_.data() + token.start, static_cast<size_t>(token.end - token.start)};
    }
    // The value of a literal token that is not faulty.
    const CValueData& LiteralOf(const Token& token) const { return literals_.At(static_cast<size_t>(token.payload)); }
    // The faults of a faulty token, in the order they were found.
    std::span<const LexFault> FaultsOf(const Token& token) const;
    std::string_view Line() const { return line_; }

    // The names text mentions, in order, as many as names has room for; the
    // count found. Numbers are stepped over whole, so the letters of «1e5»
    // or «0x1f» are no names, and so are quoted texts; comments are not told
    // apart. Made for guesses (what the lines to come will look up), not for
    // parsing.
    static size_t NamesIn(std::string_view text, std::span<std::string_view> names);

    // Drops the tokens from index on and goes on lexing at offset instead.
    // A parser that reads only part of a token (the first "=" of "==", the
    // "..." of three dots) continues from there.
    void RelexFrom(size_t index, size_t offset);

private:
    // At for an index not lexed yet.
    Token AtNew(size_t index);
    void LexUpTo(size_t index);
    void LexStep();
    Token LexNumber(size_t start);
    Token LexText(size_t start, TokenKind kind);
    // Moves over blanks and comments; the position of an unclosed comment,
    // or -1.
    int SkipTrivia();
    Token Literal(TokenKind kind, size_t start, size_t end, CValueData&& value) {
        const size_t index = literals_.Add(std::move(value));
        return {static_cast<int32_t>(start), static_cast<int32_t>(end), kind, 0, false, static_cast<int32_t>(index)};
    }
    Token Faulty(TokenKind kind, size_t start, size_t end);

    std::string text_;       // the line, kept from line to line for its capacity
    std::string_view line_;  // text_
    size_t next_ = 0;   // where lexing goes on
    bool ended_ = false;
    // The tokens made so far are the first count_; the storage only grows,
    // so a step writes its tokens without a check of room for each.
    std::vector<Token> tokens_;
    size_t count_ = 0;
    // The values of the literals. Items refer to them while tokens are
    // still being made, so they are kept in blocks that never move, and the
    // blocks are kept from line to line.
    class LiteralPool {
    public:
        size_t Add(CValueData&& value) {
            if (size_ == capacity_) Grow();
            holdsText_ = holdsText_ || value.Type() == VTYPE_STRING;
            blocks_[size_ / kBlock][size_ % kBlock] = std::move(value);
            return size_++;
        }
        // The plain decimal, most literals: no string to give back, so the
        // slot takes the int as it is.
        size_t AddInt(int32_t value) {
            if (size_ == capacity_) Grow();
            blocks_[size_ / kBlock][size_ % kBlock] = CValueData::Int(value);
            return size_++;
        }
        const CValueData& At(size_t index) const { return blocks_[index / kBlock][index % kBlock]; }
        void Clear();

    private:
        void Grow();

        static constexpr size_t kBlock = 64;
        std::vector<std::unique_ptr<CValueData[]>> blocks_;
        size_t size_ = 0;
        size_t capacity_ = 0;
        bool holdsText_ = false;   // a string literal since the last Clear
    };
    LiteralPool literals_;
    std::vector<LexFault> faults_;
};
