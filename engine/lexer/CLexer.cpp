#include "engine/lexer/CLexer.h"

#include <array>

#include "engine/lexer/Keywords.h"
#include "engine/lexer/NumberLiteral.h"
#include "engine/lexer/OperatorTable.h"
#include "engine/lexer/TextLiteral.h"

namespace {

// Tokens are made this many at a time: few enough that a line refused early
// is not read far, enough that the parser seldom waits for the lexer.
constexpr size_t kTokensPerStep = 64;

}  // namespace

void CLexer::Reset(std::string_view line) {
    text_.assign(line);
    line_ = text_;
    next_ = 0;
    ended_ = false;
    count_ = 0;
    literals_.Clear();
    faults_.clear();
    // Every reading of a line asks for its first token: the first step is
    // made now, without the detour of a token not lexed yet.
    LexStep();
}

void CLexer::LiteralPool::Grow() {
    blocks_.push_back(std::make_unique<CValueData[]>(kBlock));
    capacity_ += kBlock;
}

// Strings give their text back; the blocks stay for the next line.
void CLexer::LiteralPool::Clear() {
    for (size_t i = 0; holdsText_ && i < size_; ++i) {
        CValueData& value = blocks_[i / kBlock][i % kBlock];
        if (value.Type() == VTYPE_STRING) value.Clear();
    }
    size_ = 0;
    holdsText_ = false;
}

std::span<const LexFault> CLexer::FaultsOf(const Token& token) const {
    const size_t first = static_cast<size_t>(token.payload);
    size_t last = first;
    while (!faults_[last].last) ++last;
    return std::span<const LexFault>(faults_).subspan(first, last - first + 1);
}

void CLexer::RelexFrom(size_t index, size_t offset) {
    count_ = index;
    next_ = offset;
    ended_ = false;
}

Token CLexer::AtNew(size_t index) {
    if (!ended_) LexUpTo(index);
    return tokens_[index < count_ ? index : count_ - 1];
}

void CLexer::LexUpTo(size_t index) {
    while (index >= count_ && !ended_) LexStep();
}

// blanks -> { white space | "/*" { any } "*/" | "//" { any } ( "\r\n" | end ) }
// Comments do not nest; a line comment ends only at the pair "\r\n" (a lone
// line feed is part of it), and an unclosed block comment runs to the end.
int CLexer::SkipTrivia() {
    const size_t size = line_.size();
    for (;;) {
        while (next_ < size && IsBlank(static_cast<unsigned char>(line_[next_]))) ++next_;
        if (next_ + 1 >= size || line_[next_] != '/') return -1;
        if (line_[next_ + 1] == '*') {
            const size_t close = line_.find("*/", next_ + 2);
            if (close == std::string_view::npos) {
                const int opened = static_cast<int>(next_);
                next_ = size;
                return opened;
            }
            next_ = close + 2;
        } else if (line_[next_ + 1] == '/') {
            const size_t lineEnd = line_.find("\r\n", next_ + 2);
            next_ = lineEnd == std::string_view::npos ? size : lineEnd + 2;
        } else {
            return -1;
        }
    }
}

// The faults were appended last; the token points at the first of them.
Token CLexer::Faulty(TokenKind kind, size_t start, size_t end) {
    faults_.back().last = true;
    size_t first = faults_.size() - 1;
    while (first > 0 && !faults_[first - 1].last) --first;
    return {static_cast<int32_t>(start), static_cast<int32_t>(end), kind, 0, true, static_cast<int32_t>(first)};
}

namespace {

// What a byte can begin. Bytes of 0x80 and above begin nothing.
enum class Begins : uint8_t { Nothing, Blank, Name, Number, Text, Punctuation, Operator };

constexpr std::array<Begins, 256> kBegins = [] {
    std::array<Begins, 256> begins{};
    for (int c = 0; c < 256; ++c) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0) continue;
        if (IsBlank(byte)) begins[byte] = Begins::Blank;
        else if (IsIdentifierStart(byte)) begins[byte] = Begins::Name;
        else if (IsDigit(byte) || byte == '.') begins[byte] = Begins::Number;
        else if (byte == '\'' || byte == '"') begins[byte] = Begins::Text;
        else if (byte == '(' || byte == ')' || byte == '[' || byte == ']' || byte == '{' || byte == '}') begins[byte] = Begins::Punctuation;
        for (const OperatorDef& row : kOperators) {
            if (static_cast<unsigned char>(row.text[0]) == byte && begins[byte] == Begins::Nothing) begins[byte] = Begins::Operator;
        }
    }
    return begins;
}();

constexpr std::array<bool, 256> kContinuesName = [] {
    std::array<bool, 256> continues{};
    for (int c = 0; c < 256; ++c) continues[static_cast<size_t>(c)] = IsIdentifierChar(static_cast<unsigned char>(c));
    return continues;
}();

// The end of the run of bytes from start that continue what start began.
size_t RunEnd(std::string_view text, size_t start, const std::array<bool, 256>& continues) {
    size_t end = start + 1;
    while (end < text.size() && continues[static_cast<unsigned char>(text[end])]) ++end;
    return end;
}
// A bare pointer would become a view through strlen, once per token: a long
// line would take the square of its length.
size_t RunEnd(const char* text, size_t start, const std::array<bool, 256>& continues) = delete;

// A number's digits, letters, points and "$"; a fraction's sign after "$"
// is left to the next step, which cannot take it for a name.
constexpr std::array<bool, 256> kContinuesNumber = [] {
    std::array<bool, 256> continues{};
    for (int c = 0; c < 256; ++c) {
        const auto byte = static_cast<unsigned char>(c);
        continues[static_cast<size_t>(c)] = IsIdentifierChar(byte) || byte == '.' || byte == '$';
    }
    return continues;
}();

// The kind of each bracket: looked up, as "(" and ")" come at random.
constexpr std::array<TokenKind, 256> kPunctuationKinds = [] {
    std::array<TokenKind, 256> kinds{};
    kinds['('] = TokenKind::LParen;
    kinds[')'] = TokenKind::RParen;
    kinds['['] = TokenKind::LBracket;
    kinds[']'] = TokenKind::RBracket;
    kinds['{'] = TokenKind::LBrace;
    kinds['}'] = TokenKind::RBrace;
    return kinds;
}();

// Whether the "/" at start opens a comment: "/*" or "//".
bool StartsComment(std::string_view text, size_t start) {
    return start + 1 < text.size() && (text[start + 1] == '*' || text[start + 1] == '/');
}

}  // namespace

// Makes the next kTokensPerStep tokens, or those up to the End token. The
// place in the line and in the tokens stays in locals while the step runs:
// each token stored could otherwise alias the lexer's members, which would
// be read back from memory for every token. The line's copy ends with a
// zero byte, which begins nothing: it ends every run without a test of the
// length, and the end of the line is told from a zero byte inside it only
// where one is met.
void CLexer::LexStep() {
    if (tokens_.size() < count_ + kTokensPerStep) tokens_.resize(count_ + kTokensPerStep);
    const char* const text = text_.c_str();
    const size_t size = text_.size();
    size_t at = next_;
    Token* const first = tokens_.data() + count_;
    Token* out = first;
    const auto put = [&out](TokenKind kind, size_t start, size_t end, uint8_t row = 0, int32_t payload = 0) {
        *out++ = {static_cast<int32_t>(start), static_cast<int32_t>(end), kind, row, false, payload};
    };
    int unclosedComment = -1;
    bool atEnd = false;
    while (!atEnd && out < first + kTokensPerStep) {
        // Most tokens follow a single space or nothing: the space is stepped
        // over without the table; a longer run of blanks is a case of its own.
        if (text[at] == ' ') ++at;
        const size_t start = at;
        const char c = text[start];
        switch (kBegins[static_cast<unsigned char>(c)]) {
            case Begins::Blank:
                do {
                    ++at;
                } while (kBegins[static_cast<unsigned char>(text[at])] == Begins::Blank);
                break;
            case Begins::Name:
                do {
                    ++at;
                } while (kContinuesName[static_cast<unsigned char>(text[at])]);
                put(TokenKind::Name, start, at);
                break;
            case Begins::Number: {
                int32_t decimal = 0;
                // Digits before a "$" begin a fraction instead.
                if (ReadPlainDecimal(line_, start, at, decimal) && text[at] != '$') {
                    put(TokenKind::Number, start, at, 0, static_cast<int32_t>(literals_.AddInt(decimal)));
                } else {
                    *out++ = LexNumber(start);
                    at = next_;
                }
                break;
            }
            case Begins::Text:
                *out++ = LexText(start, c == '"' ? TokenKind::String : TokenKind::Char);
                at = next_;
                break;
            case Begins::Punctuation:
                at = start + 1;
                put(kPunctuationKinds[static_cast<unsigned char>(c)], start, at);
                break;
            case Begins::Operator: {
                // Comments are rare, and lie between tokens.
                if (c == '/' && StartsComment(line_, start)) {
                    next_ = start;
                    unclosedComment = SkipTrivia();
                    at = next_;
                    atEnd = at >= size;
                    break;
                }
                const OperatorMatch match = MatchOperator(text + start);
                at = start + static_cast<size_t>(match.length);
                put(TokenKind::Operator, start, at, static_cast<uint8_t>(match.row));
                break;
            }
            default:
                if (start >= size) {
                    atEnd = true;
                    break;
                }
                at = start + 1;
                put(TokenKind::Other, start, at);
                break;
        }
    }
    if (atEnd) {
        put(TokenKind::End, at, at, 0, unclosedComment);
        ended_ = true;
    }
    next_ = at;
    count_ += static_cast<size_t>(out - first);
}

// Every number but the plain decimal, which LexStep reads itself.
Token CLexer::LexNumber(size_t start) {
    CValueData value;
    bool malformed = false;
    next_ = ReadNumber(line_, start, value, malformed);
    // Digits before a "$" begin a fraction instead.
    if (next_ < line_.size() && line_[next_] == '$' && StartsFraction(line_, start)) {
        value = CValueData();
        malformed = false;
        next_ = ReadFraction(line_, start, value, malformed);
        if (!malformed) return Literal(TokenKind::Fraction, start, next_, std::move(value));
        faults_.push_back({static_cast<int>(start), Diag::BadFraction, false});
        return Faulty(TokenKind::Fraction, start, next_);
    }
    if (!malformed) return Literal(TokenKind::Number, start, next_, std::move(value));
    faults_.push_back({static_cast<int>(start), Diag::BadNumber, false});
    return Faulty(TokenKind::Number, start, next_);
}

Token CLexer::LexText(size_t start, TokenKind kind) {
    const size_t faultsBefore = faults_.size();
    CValueData value;
    next_ = kind == TokenKind::String ? ReadString(line_, start, value, faults_) : ReadChar(line_, start, value, faults_);
    if (faults_.size() == faultsBefore) return Literal(kind, start, next_, std::move(value));
    return Faulty(kind, start, next_);
}

size_t CLexer::NamesIn(std::string_view text, std::span<std::string_view> names) {
    size_t count = 0;
    size_t at = 0;
    while (at < text.size() && count < names.size()) {
        const char c = text[at];
        switch (kBegins[static_cast<unsigned char>(c)]) {
            case Begins::Name: {
                const size_t end = RunEnd(text, at, kContinuesName);
                names[count++] = text.substr(at, end - at);
                at = end;
                break;
            }
            case Begins::Number: at = RunEnd(text, at, kContinuesNumber); break;
            case Begins::Text: {
                const size_t close = text.find(c, at + 1);
                at = close == std::string_view::npos ? text.size() : close + 1;
                break;
            }
            default: ++at; break;
        }
    }
    return count;
}
