#include "app/HintTexts.h"

#include <algorithm>
#include <iterator>
#include <span>

namespace {

struct HintRow {
    HintKind kind;
    // The text of a hint that only explains, and of one that proposes lines
    // («{line}», «{line2}»); null where the kind has no such form.
    const char* alone;
    const char* proposing;
};

// ORDER HINTKIND: one row per kind, in the order of the list.
constexpr HintRow kHints[] = {
    {HintKind::SemicolonAtEnd,
     "numora needs no \";\" at the end of a line: leave it out", nullptr},
    {HintKind::SemicolonBetweenExpressions,
     "numora reads one expression a line and has no \";\": separate expressions with \",\"", nullptr},
    {HintKind::SemicolonBetweenParts,
     "numora reads one declaration or expression a line and has no \";\": type each on a line of its own",
     "numora reads one declaration a line and has no \";\": declare names of one type together, as in {line}"},
    {HintKind::CompoundAssignment,
     "numora has no compound assignment \"{op}\": write the assignment out, \"a {op} b\" as \"a = a {binop} (b)\"",
     "numora has no compound assignment \"{op}\": write {line}"},
    {HintKind::CompoundToUndeclared,
     "\"{name}\" is not declared, and numora has no compound assignment \"{op}\": declare it with its type "
     "first, then write the assignment out",
     "\"{name}\" is not declared, and numora has no compound assignment \"{op}\": declare it first, as in "
     "{line}, then write {line2}"},
    {HintKind::Cast,
     "numora has no casts such as \"({type})\": a variable converts a value stored in it to its own type, "
     "and floor and ceil round a double down or up",
     "numora has no casts such as \"({type})\": arithmetic with a double gives a double, so write {line}"},
    {HintKind::Sizeof,
     "numora has no sizeof; its types have fixed sizes: char, byte and bool 1 byte, short and word 2, "
     "int, long, dword and float 4, double 8", nullptr},
    {HintKind::Power,
     nullptr, "numora has no \"**\" operator: write {line}"},
    {HintKind::PowerForm,
     nullptr, "numora has no \"**\" operator: the built-in pow raises a number to a power, as in {line}"},
    {HintKind::UserFunctionCall,
     "\"{name}\" is a user-defined function: numora accepts and lists definitions (#lf), but never runs a "
     "call of one", nullptr},
    {HintKind::EndSession,
     "to end the session, type #exit or press Ctrl-D", nullptr},
    {HintKind::EndSessionWithStatus,
     nullptr, "to end the session with the status {line}, type {line} and then {line2}, which ends it with "
     "the last result as its status"},
    {HintKind::Help,
     "#help lists the console commands and #g the grammar; man numora and the option --help say more", nullptr},
    {HintKind::UndeclaredAssignment,
     nullptr, "\"{name}\" is not declared: declare it with its type first, as in {line}"},
    {HintKind::UndeclaredFraction,
     nullptr, "\"{name}\" is not declared, and a variable cannot keep a fraction: a double keeps its nearest "
     "value, as in {line}"},
    {HintKind::UndeclaredUntyped,
     "\"{name}\" is not declared: declare it first, with the type of the value it is to hold (int, double, "
     "string, ...)", nullptr},
    {HintKind::SecondDeclaration,
     "\"{name}\" is already declared, and names last for the whole session: assign to it instead, or "
     "choose another name",
     "\"{name}\" is already declared, and names last for the whole session: assign to it instead "
     "({line}), or choose another name"},
    {HintKind::SecondArrayDeclaration,
     "\"{name}\" is already declared, and names last for the whole session: assign to its elements "
     "instead, or choose another name", nullptr},
    {HintKind::BuiltinRedefinition,
     "\"{name}\" is a built-in function: functions cannot be redefined; choose another name", nullptr},
    {HintKind::FunctionRedefinition,
     "\"{name}\" is already a function: functions cannot be redefined; choose another name", nullptr},
    {HintKind::Statement,
     "numora has no statements such as \"{word}\": a line is one declaration, definition or expression",
     nullptr},
    {HintKind::StatementChoice,
     "numora has no statements such as \"{word}\": a line is one declaration, definition or expression, "
     "and \"?:\" chooses between values (condition ? value : other value)", nullptr},
    {HintKind::StatementInDefinition,
     "a function definition is its head and the one expression that gives its value, with no braces or "
     "statements",
     "a function definition is its head and the one expression that gives its value, with no braces or "
     "statements: {line}"},
    {HintKind::Unsigned,
     "numora has no \"{words}\": its unsigned types are byte, word and dword (8, 16 and 32 bits)",
     "numora has no \"{words}\": its unsigned types are byte, word and dword (8, 16 and 32 bits): "
     "write {line}"},
    {HintKind::Signed,
     "numora has no \"{words}\": char, short, int and long are signed",
     "numora has no \"{words}\": char, short, int and long are signed: write {line}"},
    {HintKind::LongLong,
     "numora has no 64-bit integers (\"{words}\"): int and long are 32 bits, and a double holds whole "
     "numbers exactly up to 2^53",
     "numora has no 64-bit integers (\"{words}\"): int and long are 32 bits, and a double holds whole "
     "numbers exactly up to 2^53: write {line}"},
    {HintKind::TwoWordType,
     "numora names each type with one word: \"{words}\" is {type}",
     "numora names each type with one word: \"{words}\" is {type}, so write {line}"},
    {HintKind::Const,
     "numora has no \"const\": a variable can always be assigned to",
     "numora has no \"const\": a variable can always be assigned to: write {line}"},
    {HintKind::Static,
     "numora has no \"static\": every name lasts for the whole session",
     "numora has no \"static\": every name lasts for the whole session: write {line}"},
    {HintKind::CharPointer,
     "numora has no pointers, and a string is a value of its own type",
     "numora has no pointers, and a string is a value of its own type: write {line}"},
    {HintKind::Pointer,
     "numora has no pointers: a reference (int &r = a) shares a variable, and an array holds several values",
     nullptr},
    {HintKind::TwoTypeWords,
     "a declaration has one type word, before its first name: declare names of another type on a line of "
     "their own",
     "a declaration has one type word, before its first name: write {line}"},
    {HintKind::LiteralSuffix,
     nullptr, "numora has no literal suffixes such as \"{suffix}\" in {literal}: write {line}; a value takes "
     "the type of the variable it is stored in"},
    {HintKind::CharEscape,
     "character constants have no escape sequences here: write the character's code, or use a string",
     "character constants have no escape sequences here: write {line} for {literal}, or use a string"},
    {HintKind::StringSubscript,
     "numora's strings have no subscripts: strlen, strcmp, strcat and strcpy work on whole strings, and an "
     "array of char holds characters one by one", nullptr},
    {HintKind::ArrayWithoutSubscript,
     nullptr, "\"{name}\" is an array: name one of its elements, as in {line}; #lv lists the variables and "
     "arrays"},
};

static_assert(std::size(kHints) == static_cast<size_t>(HintKind::Count));

constexpr bool RowsFollowTheList() {
    for (size_t i = 0; i < std::size(kHints); ++i) {
        if (kHints[i].kind != static_cast<HintKind>(i)) return false;
    }
    return true;
}
static_assert(RowsFollowTheList(), "the rows of kHints follow the order of HintKind");

const HintRow& RowOf(HintKind kind) { return kHints[static_cast<size_t>(kind)]; }

// The template with each «{key}» replaced by its value, in one pass, so a
// value that holds braces (a string of the line) is never read as a key.
std::string Filled(std::string_view pattern, std::span<const HintField> fields) {
    std::string text;
    for (size_t at = 0; at < pattern.size();) {
        const size_t open = pattern.find('{', at);
        const size_t close = open == std::string_view::npos ? open : pattern.find('}', open);
        if (close == std::string_view::npos) {
            text += pattern.substr(at);
            break;
        }
        text += pattern.substr(at, open - at);
        const std::string_view key = pattern.substr(open + 1, close - open - 1);
        const auto field = std::find_if(fields.begin(), fields.end(), [&](const HintField& f) { return f.key == key; });
        text += field != fields.end() ? field->value : pattern.substr(open, close + 1 - open);
        at = close + 1;
    }
    return text;
}

}  // namespace

Hint MakeHint(HintKind kind, std::initializer_list<HintField> fields, std::vector<std::string> lines) {
    const HintRow& row = RowOf(kind);
    std::vector<HintField> all(fields);
    if (!lines.empty()) all.push_back({"line", lines[0]});
    if (lines.size() > 1) all.push_back({"line2", lines[1]});
    const char* pattern = lines.empty() ? row.alone : row.proposing;
    if (pattern == nullptr) pattern = lines.empty() ? row.proposing : row.alone;
    std::string text = Filled(pattern, all);
    return {kind, std::move(text), std::move(lines)};
}

bool HintProposesLines(HintKind kind) { return RowOf(kind).proposing != nullptr; }
