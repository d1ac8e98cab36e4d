#include "app/Notes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>

#include "app/CLineTokens.h"
#include "engine/ValueNotes.h"
#include "engine/items/CExpItem.h"
#include "engine/lexer/Keywords.h"
#include "engine/lexer/OperatorTable.h"
#include "engine/manager/CExpManager.h"

namespace {

constexpr size_t kMostNotes = 3;

// ORDER NOTETEXT: every text a note is made of; {word} marks what is filled in.
enum class NoteText {
    PastBits, PastInt, AsDouble, WithDotZero, TooLargeForDouble,
    FractionDropped, DoesNotFit, DeclareWider, WiderVariable, WiderArray,
    Wrapped, WrappedSign, ExactWithDouble, ExactInInt, More,
};

constexpr std::string_view kTexts[] = {
    "{literal} does not fit in 32 bits, so only its low 32 bits are kept: {kept}; {advice}",
    "{literal} does not fit in int, so it is read as {kept}; write {literal}.0 for its value as a double",
    "write {double} for its value as a double",
    "write it with \".0\" at its end for its value as a double",
    "it is too large even for a double",
    "{target} is {a type}, so it keeps {kept} of {given}; {advice}",
    "{given} does not fit in {target}, {a type}, so it keeps {kept}; {advice}",
    "declare {target} as {wider} to keep {given}",
    "a {wider} variable keeps {given}",
    "an array of {wider} keeps {given}",
    "{operation} is {exact}, which {a type} cannot hold, so it wrapped around to {kept}; {advice}",
    "{operation} is {exact}, which {a type} cannot hold, so it stays {kept}; {advice}",
    "with a double operand it is exact: {exact operation}",
    "in int variables it is exact",
    "and {count} more values changed without a diagnostic",
};
static_assert(std::size(kTexts) == static_cast<size_t>(NoteText::More) + 1, "one text per NoteText");

using Fills = std::initializer_list<std::pair<std::string_view, std::string>>;

// The text with each {word} replaced by its fill.
std::string Words(NoteText id, Fills fills) {
    std::string text(kTexts[static_cast<size_t>(id)]);
    for (const auto& [word, fill] : fills) {
        const std::string mark = "{" + std::string(word) + "}";
        for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + fill.size())) {
            text.replace(at, mark.size(), fill);
        }
    }
    return text;
}

struct Note {
    int position;
    std::string text;
};

// ---- Literals ----

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

// The literal's low 32 bits, which it keeps; wide when it has more.
uint32_t Low32Bits(const IntegerDigits& literal, bool& wide) {
    uint32_t low = 0;
    uint64_t value = 0;
    wide = false;
    for (const char c : literal.digits) {
        const auto digit = static_cast<unsigned>(DigitValue(c));
        low = low * literal.base + digit;
        if (!wide) {
            value = value * literal.base + digit;
            wide = value > UINT32_MAX;
        }
    }
    return low;
}

// How to get the value the digits stand for: a floating literal.
std::string FloatingAdvice(std::string_view text, const IntegerDigits& literal) {
    double value = 0;
    for (const char c : literal.digits) value = value * literal.base + DigitValue(c);
    if (!std::isfinite(value)) return Words(NoteText::TooLargeForDouble, {});
    if (literal.base == 10) {
        const std::string shown = ShownText(text);
        return shown.size() == text.size() ? Words(NoteText::AsDouble, {{"double", shown + ".0"}})
                                           : Words(NoteText::WithDotZero, {});
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, value < 1e17 ? "%.1f" : "%.17g", value);
    return Words(NoteText::AsDouble, {{"double", buffer}});
}

bool IsOperandToken(TokenKind kind) {
    return kind == TokenKind::Name || kind == TokenKind::Number || kind == TokenKind::Fraction ||
           kind == TokenKind::Char || kind == TokenKind::String || kind == TokenKind::RParen ||
           kind == TokenKind::RBracket;
}

// «-2147483648»: the one value past int that a sign brings back into it,
// the way C programmers write int's least value.
bool IsLeastIntWritten(CLineTokens& tokens, size_t literal) {
    return tokens.Text(literal) == "2147483648" && literal > 0 && tokens.Text(literal - 1) == "-" &&
           (literal == 1 || !IsOperandToken(tokens.At(literal - 2).kind));
}

// «dword d = 3000000000»: the literal's 32 bits are what a dword keeps, so
// nothing is lost by its reading as an int.
bool StoredWholeInDword(CLineTokens& tokens, size_t literal, const CExpManager& manager) {
    if (literal < 2 || !tokens.IsOperator(literal - 1, OP_ASSIGN)) return false;
    if (tokens.At(literal - 2).kind != TokenKind::Name) return false;
    const TokenKind after = tokens.At(literal + 1).kind;
    if (after != TokenKind::End && !tokens.IsOperator(literal + 1, OP_COMMA)) return false;
    const CExpItem* item = manager.Find(tokens.Text(literal - 2));
    return item != nullptr && item->Kind() == EXP_VARIABLE && item->ValueType() == VTYPE_DWORD;
}

void AddLiteralNotes(CLineTokens& tokens, const CExpManager& manager, std::vector<Note>& notes) {
    for (size_t i = 0; i < tokens.Count(); ++i) {
        const Token token = tokens.At(i);
        if (token.kind != TokenKind::Number || token.faulty) continue;
        const std::string_view text = tokens.Text(i);
        const std::optional<IntegerDigits> literal = IntegerLiteral(text);
        if (!literal) continue;
        bool wide = false;
        const uint32_t low = Low32Bits(*literal, wide);
        const std::string kept = std::to_string(static_cast<int32_t>(low));
        if (wide) {
            notes.push_back({token.start, Words(NoteText::PastBits, {{"literal", ShownText(text)},
                                                                      {"kept", kept},
                                                                      {"advice", FloatingAdvice(text, *literal)}})});
            continue;
        }
        // Hexadecimal, octal and binary literals are bit patterns: one up to
        // 0xFFFFFFFF means its bits.
        if (literal->base != 10 || low <= static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) continue;
        if (IsLeastIntWritten(tokens, i) || StoredWholeInDword(tokens, i, manager)) continue;
        notes.push_back({token.start, Words(NoteText::PastInt, {{"literal", std::string(text)}, {"kept", kept}})});
    }
}

// ---- Values the engine noted ----

std::string TypeName(TypeCode type) { return type == VTYPE_LONG ? "int" : TypeNameOf(type); }

std::string WithArticle(const std::string& word) {
    const bool vowel = !word.empty() && std::string_view("aeiou").find(word[0]) != std::string_view::npos;
    return (vowel ? "an " : "a ") + word;
}

// A value as its result line would show it, with as many more digits as a
// floating value needs to be told from what was kept («100000.25», not
// «100000»).
std::string Shown(const CValueData& value) {
    const bool single = value.Type() == VTYPE_FLOAT;
    if (!single && value.Type() != VTYPE_DOUBLE) return value.Format(10);
    for (int digits = CValueData::kDefaultDigits;; ++digits) {
        std::string text = value.Format(10, digits);
        const bool readBack = single ? std::strtof(text.c_str(), nullptr) == value.AsFloat()
                                     : std::strtod(text.c_str(), nullptr) == value.AsDouble();
        if (readBack || digits == CValueData::kMaxDigits) return text;
    }
}

// The least and greatest value an integer type holds.
std::pair<double, double> RangeOf(TypeCode type) {
    switch (type) {
        case VTYPE_CHAR: return {-128, 127};
        case VTYPE_BYTE: return {0, 255};
        case VTYPE_SHORT: return {-32768, 32767};
        case VTYPE_WORD: return {0, 65535};
        case VTYPE_DWORD: return {0, 4294967295.0};
        default: return {-2147483648.0, 2147483647};
    }
}

bool IsFractional(TypeCode type) { return type == VTYPE_FLOAT || type == VTYPE_DOUBLE || type == VTYPE_FRACTION; }

// Only the fraction of a value was dropped: its whole part fits.
bool LostOnlyTheFraction(const CValueNote& note) {
    if (!IsFractional(note.given.Type()) || !IsIntegerType(note.type)) return false;
    const double whole = std::trunc(note.given.AsDouble());
    const auto [least, greatest] = RangeOf(note.type);
    return whole >= least && whole <= greatest;
}

// The type that keeps the value given, where the target's did not.
std::string WiderType(const CValueData& given) {
    if (!IsIntegerType(given.Type())) return "double";
    const int64_t value = given.Type() == VTYPE_DWORD ? int64_t{given.AsDword()} : int64_t{given.AsInt()};
    return value <= 2147483647 ? "int" : "dword";
}

// What keeps the value given: a wider declaration, variable or array.
std::string StoredAdvice(const CValueNote& note, const std::string& wider) {
    const Fills fills = {{"target", ShownText(note.target)}, {"wider", wider}, {"given", Shown(note.given)}};
    switch (note.kind) {
        case CValueNote::Kind::Declared: return Words(NoteText::DeclareWider, fills);
        case CValueNote::Kind::Assigned: return Words(NoteText::WiderVariable, fills);
        default: return Words(NoteText::WiderArray, fills);
    }
}

// An operand as it reads in an operation: a negative one in parentheses.
std::string OperandText(const CValueData& value, bool asDouble) {
    std::string text = Shown(value) + (asDouble ? ".0" : "");
    return text[0] == '-' ? "(" + text + ")" : text;
}

std::string_view OperatorText(int code) {
    for (const OperatorDef& row : kOperators) {
        if (row.code == code) return row.text;
    }
    return {};
}

std::string Operation(const CValueNote& note, bool asDouble) {
    if (note.right.IsEmpty()) return std::string(OperatorText(note.code)) + OperandText(note.given, asDouble);
    return OperandText(note.given, asDouble) + " " + std::string(OperatorText(note.code)) + " " +
           OperandText(note.right, false);
}

std::string WrappedText(const CValueNote& note) {
    const bool inInt = note.type == VTYPE_INT || note.type == VTYPE_LONG;
    const std::string advice = inInt ? Words(NoteText::ExactWithDouble, {{"exact operation", Operation(note, true)}})
                                     : Words(NoteText::ExactInInt, {});
    return Words(note.right.IsEmpty() ? NoteText::WrappedSign : NoteText::Wrapped,
                 {{"operation", Operation(note, false)},
                  {"exact", std::to_string(note.exact)},
                  {"a type", WithArticle(TypeName(note.type))},
                  {"kept", Shown(note.kept)},
                  {"advice", advice}});
}

std::string StoredText(const CValueNote& note) {
    const bool fractionOnly = LostOnlyTheFraction(note);
    return Words(fractionOnly ? NoteText::FractionDropped : NoteText::DoesNotFit,
                 {{"target", ShownText(note.target)},
                  {"a type", WithArticle(TypeName(note.type))},
                  {"kept", Shown(note.kept)},
                  {"given", Shown(note.given)},
                  {"advice", StoredAdvice(note, fractionOnly ? "double" : WiderType(note.given))}});
}

// «-2147483648» negates int's least value, as it is meant to.
bool NegatesLeastIntWritten(CLineTokens& tokens, const CValueNote& note) {
    if (note.code != OP_MINUS) return false;
    const size_t sign = tokens.KindAt(note.position, TokenKind::Operator);
    return sign < tokens.Count() && tokens.At(sign).start == note.position && IsLeastIntWritten(tokens, sign + 1);
}

}  // namespace

std::vector<std::string> LineNotes(CLineTokens& tokens, const CExpManager& manager) {
    std::vector<Note> notes;
    AddLiteralNotes(tokens, manager, notes);
    const CValueNoteList& noted = manager.ValueNotes();
    for (const CValueNote& note : noted.All()) {
        if (note.kind != CValueNote::Kind::Wrapped) {
            notes.push_back({note.position, StoredText(note)});
        } else if (!NegatesLeastIntWritten(tokens, note)) {
            notes.push_back({note.position, WrappedText(note)});
        }
    }
    std::stable_sort(notes.begin(), notes.end(), [](const Note& a, const Note& b) { return a.position < b.position; });
    std::vector<std::string> lines;
    for (size_t i = 0; i < notes.size() && i < kMostNotes; ++i) lines.push_back("note: " + notes[i].text);
    const size_t more = notes.size() - lines.size() + noted.More();
    if (more > 0) lines.push_back("note: " + Words(NoteText::More, {{"count", std::to_string(more)}}));
    return lines;
}
