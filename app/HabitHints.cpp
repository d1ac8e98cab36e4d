#include "app/HabitHints.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "app/CLineTokens.h"
#include "engine/items/CExpFunction.h"
#include "engine/items/CExpOperator.h"
#include "engine/items/CExpVararray.h"
#include "engine/lexer/Keywords.h"
#include "engine/lexer/OperatorTable.h"
#include "engine/manager/CExpManager.h"
#include "value/TypeCode.h"

namespace {

// C's compound assignments; the longer ones first, since «<<=» also
// begins with «<».
constexpr std::array<std::string_view, 10> kCompoundAssignments = {"<<=", ">>=", "+=", "-=", "*=",
                                                                   "/=",  "%=",  "&=", "|=", "^="};

constexpr std::array<std::string_view, 10> kStatementWords = {"for",    "while",  "do",    "if",       "else",
                                                              "switch", "return", "break", "continue", "goto"};

// The statements that choose between two courses, as "?:" chooses between
// two values.
bool Chooses(std::string_view word) { return word == "if" || word == "else" || word == "switch"; }

// C's type words that numora spells otherwise, and numora's word for each
// (none for a word numora does without). ORDER: the longest first among
// those that begin alike, since the first that matches is taken.
struct TypeWordsRow {
    std::array<std::string_view, 4> words;
    std::string_view numora;
    HintKind kind;
};

constexpr TypeWordsRow kTypeWords[] = {
    {{"unsigned", "long", "long", "int"}, "double", HintKind::LongLong},
    {{"unsigned", "long", "long"}, "double", HintKind::LongLong},
    {{"unsigned", "long", "int"}, "dword", HintKind::Unsigned},
    {{"unsigned", "long"}, "dword", HintKind::Unsigned},
    {{"unsigned", "short", "int"}, "word", HintKind::Unsigned},
    {{"unsigned", "short"}, "word", HintKind::Unsigned},
    {{"unsigned", "char"}, "byte", HintKind::Unsigned},
    {{"unsigned", "int"}, "dword", HintKind::Unsigned},
    {{"unsigned"}, "dword", HintKind::Unsigned},
    {{"signed", "long", "long", "int"}, "double", HintKind::LongLong},
    {{"signed", "long", "long"}, "double", HintKind::LongLong},
    {{"signed", "long", "int"}, "long", HintKind::Signed},
    {{"signed", "long"}, "long", HintKind::Signed},
    {{"signed", "short", "int"}, "short", HintKind::Signed},
    {{"signed", "short"}, "short", HintKind::Signed},
    {{"signed", "char"}, "char", HintKind::Signed},
    {{"signed", "int"}, "int", HintKind::Signed},
    {{"signed"}, "int", HintKind::Signed},
    {{"long", "long", "int"}, "double", HintKind::LongLong},
    {{"long", "long"}, "double", HintKind::LongLong},
    {{"long", "int"}, "long", HintKind::TwoWordType},
    {{"long", "double"}, "double", HintKind::TwoWordType},
    {{"short", "int"}, "short", HintKind::TwoWordType},
    {{"const"}, "", HintKind::Const},
    {{"static"}, "", HintKind::Static},
};

// The character codes of C's escape sequences.
struct EscapeRow {
    char letter;
    int code;
};

constexpr EscapeRow kEscapes[] = {{'n', 10}, {'t', 9},  {'r', 13},  {'0', 0},   {'a', 7},   {'b', 8},
                                  {'f', 12}, {'v', 11}, {'\\', 92}, {'\'', 39}, {'"', 34},  {'?', 63}};

// The longest line a hint proposes: a longer one is no longer read at a
// glance, nor copied.
constexpr size_t kLongestProposal = 80;

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && IsBlank(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

// A line short enough to propose, made of characters a person can type.
bool Proposable(std::string_view line) {
    const auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; };
    return !line.empty() && line.size() <= kLongestProposal && std::none_of(line.begin(), line.end(), control);
}

// C's literal suffixes: «u», «l», «f» and their pairs, in either case.
bool IsLiteralSuffix(std::string_view text) {
    return !text.empty() && text.size() <= 3 &&
           text.find_first_not_of("uUlLfF") == std::string_view::npos;
}

// A value of type value, stored in a variable of type variable, is kept as
// it is: no fraction is dropped and no integer is narrowed by its type.
bool KeepsItsType(int variable, int value) {
    if (variable == value) return true;
    const auto v = static_cast<uint32_t>(variable);
    const auto w = static_cast<uint32_t>(value);
    if (IsIntegerType(v) && IsIntegerType(w)) return TypeSize(w) <= TypeSize(v);
    return v == VTYPE_DOUBLE && (IsIntegerType(w) || w == VTYPE_FLOAT);
}

// A value of the type that no operator refuses for its size: one, or a
// text.
CValueData SampleOf(int type) {
    return type == VTYPE_STRING ? CValueData::String("x") : CValueData::Int(1).ConvertTo(static_cast<uint32_t>(type));
}

// Whether the binary operator of that code runs on values of these types, by
// the operator's own rules: reading a line lets «%» take a double, and only
// running it refuses one.
bool RunsOn(int code, int leftType, int rightType) {
    if (leftType <= 0 || rightType <= 0) return false;
    const CValueData left = SampleOf(leftType);
    const CValueData right = SampleOf(rightType);
    CValueData result;
    int type = 0;
    return CExpOperator::ApplyToValues(code, left, &right, leftType, rightType, result, type);
}

// The type word that declares a variable for a value of that type: a
// fraction is kept as a double, and the long of 32-bit arithmetic is int.
// Empty for none.
std::string DeclaredType(int type) {
    if (type == VTYPE_FRACTION) return "double";
    if (type == VTYPE_LONG) return "int";
    return TypeNameOf(type);
}

// A change of the line's own text, for the line proposed in its place.
struct Edit {
    int start;
    int end;
    std::string replacement;
};

class HintFinder {
public:
    HintFinder(CLineTokens& tokens, std::span<const CExpDiag> diagnostics, const CExpManager& manager)
        : tokens_(tokens), diagnostics_(diagnostics), manager_(manager) {}

    std::vector<Hint> Find() {
        // A line with statements is no line of numora's at all: what else it
        // shows would only mislead.
        if (Statement()) return std::move(hints_);
        Semicolons();
        for (size_t i = 0; i < tokens_.Count(); ++i) {
            CompoundAssignment(i);
            Cast(i);
            Sizeof(i);
            Power(i);
            UserFunctionCall(i);
            TypeWords(i);
            Pointer(i);
            LiteralSuffix(i);
            CharEscape(i);
            StringSubscript(i);
        }
        SecondTypeWord();
        CommandWord();
        for (const CExpDiag& diagnostic : diagnostics_) {
            UndeclaredAssignment(diagnostic);
            SecondDeclaration(diagnostic);
            ArrayWithoutSubscript(diagnostic);
        }
        ProposeRewrittenLine();
        return std::move(hints_);
    }

private:
    // Each habit is told once a line, however often the line shows it.
    void Add(Hint hint) {
        const auto same = [&](const Hint& told) { return told.text == hint.text; };
        if (std::none_of(hints_.begin(), hints_.end(), same)) hints_.push_back(std::move(hint));
    }
    bool Told(HintKind kind) const {
        return std::any_of(hints_.begin(), hints_.end(), [&](const Hint& told) { return told.kind == kind; });
    }

    // A habit that the line proposed in place of the whole line mends, with
    // the change of the line's text it needs; the last of them gets that
    // line.
    void AddRewrite(HintKind kind, std::string_view words, std::string_view type, Edit edit) {
        edits_.push_back(std::move(edit));
        const Hint hint = MakeHint(kind, {{"words", words}, {"type", type}});
        const auto same = [&](const Hint& told) { return told.text == hint.text; };
        if (std::any_of(hints_.begin(), hints_.end(), same)) return;
        rewrites_.push_back({hints_.size(), kind, std::string(words), std::string(type)});
        hints_.push_back(hint);
    }

    std::string_view Text(size_t i) { return tokens_.Text(i); }
    TokenKind Kind(size_t i) { return tokens_.At(i).kind; }
    size_t Count() const { return tokens_.Count(); }
    bool IsUndefined(std::string_view name) const { return manager_.Find(name) == nullptr; }
    bool IsTypeWord(size_t i) { return Kind(i) == TokenKind::Name && TypeCodeOf(Text(i)) != 0; }
    int TypeOf(std::string_view expression) const { return manager_.ExpressionType(std::string(Trimmed(expression))); }
    // The value that begins at token first: up to a "," or ";" or the end.
    std::string_view ValueFrom(size_t first) {
        const size_t end = tokens_.ValueEnd(first);
        return end > first ? tokens_.Span(first, end - 1) : std::string_view();
    }
    // The operand's text as typed, without the parentheses of a group,
    // which a call's own parentheses replace.
    std::string_view Unwrapped(size_t first, size_t last) {
        if (Kind(first) == TokenKind::LParen && tokens_.Closing(first) == last) {
            return first + 1 < last ? tokens_.Span(first + 1, last - 1) : std::string_view();
        }
        return tokens_.Span(first, last);
    }
    // The first token at which everything up to the end is ";" and "}".
    size_t EndOfStatement(size_t first) {
        size_t end = Count();
        while (end > first && (tokens_.IsSemicolon(end - 1) || Kind(end - 1) == TokenKind::RBrace)) --end;
        return end;
    }

    // «for (…) …», «return 0», «int f(int x) { return x * 2; }».
    bool Statement() {
        size_t word = 0;
        while (word < Count() && !IsStatementWord(word)) ++word;
        if (InDefinition(word)) return true;
        if (word == Count()) return false;
        const HintKind kind = Chooses(Text(word)) ? HintKind::StatementChoice : HintKind::Statement;
        Add(MakeHint(kind, {{"word", Text(word)}}));
        return true;
    }

    bool IsStatementWord(size_t i) {
        if (Kind(i) != TokenKind::Name) return false;
        if (std::find(kStatementWords.begin(), kStatementWords.end(), Text(i)) == kStatementWords.end()) return false;
        // «int if = 2» would name a variable, and «do» may be one.
        return IsUndefined(Text(i)) && (i == 0 || !IsTypeWord(i - 1));
    }

    // A function definition whose head is followed by braces or a
    // statement: the definition written as numora takes it, its head and
    // the expression returned, where the body is no more than that.
    bool InDefinition(size_t word) {
        const bool head = (IsTypeWord(0) || tokens_.IsName(0, "void")) && Kind(1) == TokenKind::Name;
        if (!head || Kind(2) != TokenKind::LParen) return false;
        const size_t parameters = tokens_.Closing(2);
        if (parameters == Count()) return false;
        if (Kind(parameters + 1) != TokenKind::LBrace && word != parameters + 1) return false;
        size_t first = parameters + 1;
        if (Kind(first) == TokenKind::LBrace) ++first;
        if (tokens_.IsName(first, "return")) ++first;
        const size_t end = EndOfStatement(first);
        // The head as typed must be one numora takes: a name of its own, and
        // no fault found in it.
        const int headEnd = tokens_.At(parameters).end;
        bool single = end > first && IsUndefined(Text(1)) &&
                      std::none_of(diagnostics_.begin(), diagnostics_.end(),
                                   [&](const CExpDiag& d) { return d.position < headEnd; });
        for (size_t i = first; single && i < end; ++i) {
            single = !IsStatementWord(i) && !tokens_.IsSemicolon(i) && Kind(i) != TokenKind::LBrace &&
                     Kind(i) != TokenKind::RBrace;
        }
        std::string line;
        if (single) line = std::string(tokens_.Span(0, parameters)) + " " + std::string(tokens_.Span(first, end - 1));
        if (Proposable(line)) {
            Add(MakeHint(HintKind::StatementInDefinition, {}, {line}));
        } else {
            Add(MakeHint(HintKind::StatementInDefinition, {}));
        }
        return true;
    }

    // «int a = 3;», «a = 1; b = 2», «int a = 1; int b = 2».
    void Semicolons() {
        std::vector<std::pair<size_t, size_t>> parts;
        bool any = false;
        size_t begin = 0;
        for (size_t i = 0; i <= Count(); ++i) {
            if (i < Count() && !tokens_.IsSemicolon(i)) continue;
            any = any || i < Count();
            if (i > begin) parts.emplace_back(begin, i - 1);
            begin = i + 1;
        }
        if (!any) return;
        if (parts.size() <= 1) {
            Add(MakeHint(HintKind::SemicolonAtEnd, {}));
            return;
        }
        const auto declaration = [&](const auto& part) { return IsTypeWord(part.first); };
        if (std::none_of(parts.begin(), parts.end(), declaration)) {
            Add(MakeHint(HintKind::SemicolonBetweenExpressions, {}));
            return;
        }
        const std::string line = OneDeclaration(parts);
        if (Proposable(line)) {
            Add(MakeHint(HintKind::SemicolonBetweenParts, {}, {line}));
        } else {
            Add(MakeHint(HintKind::SemicolonBetweenParts, {}));
        }
    }

    // Declarations of one type word made one declaration: the type word
    // once, the declarators after it separated by ",". Empty when the parts
    // are not all such declarations.
    std::string OneDeclaration(const std::vector<std::pair<size_t, size_t>>& parts) {
        const std::string_view type = Text(parts.front().first);
        std::string line = std::string(tokens_.Span(parts.front().first, parts.front().second));
        for (size_t p = 1; p < parts.size(); ++p) {
            const auto [first, last] = parts[p];
            if (!IsTypeWord(first) || Text(first) != type || first == last || IsTypeWord(first + 1)) return {};
            line += ", " + std::string(tokens_.Span(first + 1, last));
        }
        return line;
    }

    // «a += 2», «cnt += 1» with no cnt.
    void CompoundAssignment(size_t i) {
        if (Kind(i) != TokenKind::Operator) return;
        if (Told(HintKind::CompoundAssignment) || Told(HintKind::CompoundToUndeclared)) return;
        const std::string_view from = tokens_.Line().substr(static_cast<size_t>(tokens_.At(i).start));
        const auto found = std::find_if(kCompoundAssignments.begin(), kCompoundAssignments.end(),
                                        [&](std::string_view op) { return from.starts_with(op); });
        if (found == kCompoundAssignments.end()) return;
        const std::string_view op = *found;
        const std::string_view binop = op.substr(0, op.size() - 1);
        // The operator and its "=" are two tokens; the value follows them.
        const size_t valueStart = i + 2;
        const std::string_view value = ValueFrom(valueStart);
        const size_t target = i > 0 ? tokens_.OperandStart(i - 1) : Count();
        const Hint form = MakeHint(HintKind::CompoundAssignment, {{"op", op}, {"binop", binop}});
        if (target == Count() || ShownText(value).size() != value.size() || value.empty()) {
            Add(form);
            return;
        }
        // What follows the operator becomes its right operand whole.
        const bool single = tokens_.OperandEnd(valueStart) == tokens_.ValueEnd(valueStart) - 1;
        const std::string operand = single ? std::string(value) : "(" + std::string(value) + ")";
        const std::string name(tokens_.Span(target, i - 1));
        const int code = CodeAfterOperand(tokens_.At(i).row);
        if (target == i - 1 && Kind(target) == TokenKind::Name && IsUndefined(name)) {
            CompoundToUndeclared(name, op, binop, code, operand, value);
            return;
        }
        const std::string result = name + " " + std::string(binop) + " " + operand;
        const std::string assignment = name + " = " + result;
        const int type = TypeOf(result);
        const int variable = TypeOf(name);
        if (type != 0 && KeepsItsType(variable, type) && RunsOn(code, variable, TypeOf(value)) &&
            Proposable(assignment)) {
            Add(MakeHint(HintKind::CompoundAssignment, {{"op", op}, {"binop", binop}}, {assignment}));
        } else {
            Add(form);
        }
    }

    // Declared first with the type of what the operation gives, from
    // nothing (0, or an empty string); then the assignment written out.
    void CompoundToUndeclared(const std::string& name, std::string_view op, std::string_view binop, int code,
                              const std::string& operand, std::string_view value) {
        const int valueType = TypeOf(value);
        const std::string zero = valueType == VTYPE_STRING ? "\"\"" : "0";
        const int result = TypeOf(zero + " " + std::string(binop) + " " + operand);
        const std::string type = RunsOn(code, result, valueType) ? DeclaredType(result) : std::string();
        const std::string declaration = type + " " + name + " = " + zero;
        const std::string assignment = name + " = " + name + " " + std::string(binop) + " " + operand;
        const std::string shown = ShownText(name);
        if (type.empty() || !Proposable(declaration) || !Proposable(assignment)) {
            Add(MakeHint(HintKind::CompoundToUndeclared, {{"name", shown}, {"op", op}}));
            return;
        }
        Add(MakeHint(HintKind::CompoundToUndeclared, {{"name", shown}, {"op", op}}, {declaration, assignment}));
    }

    // «(int)x»: a type word alone in parentheses, before an operand; not the
    // parameter list of a call or a definition.
    void Cast(size_t i) {
        if (Kind(i) != TokenKind::LParen || Kind(i + 1) != TokenKind::Name || Kind(i + 2) != TokenKind::RParen) return;
        if ((i > 0 && Kind(i - 1) == TokenKind::Name) || Told(HintKind::Cast)) return;
        const std::string_view type = Text(i + 1);
        const int code = TypeCodeOf(type);
        if (code == 0) return;
        // To a floating type, arithmetic with a double does the same.
        const size_t operandEnd = tokens_.OperandEnd(i + 3);
        if ((code == VTYPE_FLOAT || code == VTYPE_DOUBLE) && operandEnd != Count()) {
            const std::string line = "1.0 * " + std::string(tokens_.Span(i + 3, operandEnd));
            if (Proposable(line) && TypeOf(line) == VTYPE_DOUBLE) {
                Add(MakeHint(HintKind::Cast, {{"type", type}}, {line}));
                return;
            }
        }
        Add(MakeHint(HintKind::Cast, {{"type", type}}));
    }

    void Sizeof(size_t i) {
        if (!tokens_.IsName(i, "sizeof") || !IsUndefined("sizeof")) return;
        Add(MakeHint(HintKind::Sizeof, {}));
    }

    // «2**10», «2**3**2»: two "*" that touch, between operands; a chain of
    // them groups from the right, as "**" does in other languages.
    void Power(size_t i) {
        if (!IsPower(i) || Told(HintKind::Power) || Told(HintKind::PowerForm)) return;
        std::vector<std::string_view> operands;
        const size_t first = i > 0 ? tokens_.OperandStart(i - 1) : Count();
        bool complete = first != Count();
        if (complete) operands.push_back(Unwrapped(first, i - 1));
        for (size_t at = i; complete;) {
            const size_t end = tokens_.OperandEnd(at + 2);
            // A chain too long for a line proposed is not followed further.
            complete = end != Count() && operands.size() < kLongestProposal / 2;
            if (!complete) break;
            operands.push_back(Unwrapped(at + 2, end));
            if (!IsPower(end + 1)) break;
            at = end + 1;
        }
        const auto empty = [](std::string_view operand) { return Trimmed(operand).empty(); };
        complete = complete && std::none_of(operands.begin(), operands.end(), empty);
        std::string call = complete ? std::string(Trimmed(operands.back())) : std::string();
        for (size_t k = operands.size() - 1; complete && k-- > 0;) {
            call = "pow(" + std::string(Trimmed(operands[k])) + ", " + call + ")";
        }
        if (Proposable(call)) {
            Add(MakeHint(HintKind::Power, {}, {call}));
        } else {
            Add(MakeHint(HintKind::PowerForm, {}, {"pow(2, 10)"}));
        }
    }

    bool IsPower(size_t i) {
        return tokens_.IsOperator(i, OP_MUL) && tokens_.IsOperator(i + 1, OP_MUL) && tokens_.Touch(i);
    }

    // «f(3)», not «int f(int x)», which defines it.
    void UserFunctionCall(size_t i) {
        if (Kind(i) != TokenKind::Name || Kind(i + 1) != TokenKind::LParen || Told(HintKind::UserFunctionCall)) return;
        if (i > 0 && Kind(i - 1) == TokenKind::Name && (TypeCodeOf(Text(i - 1)) != 0 || Text(i - 1) == "void")) return;
        const CExpItem* item = manager_.Find(Text(i));
        if (item == nullptr || item->Kind() != EXP_FUNCTION) return;
        if (static_cast<const CExpFunction*>(item)->Number() < CExpFunction::kUserFunction) return;
        Add(MakeHint(HintKind::UserFunctionCall, {{"name", ShownText(Text(i))}}));
    }

    // «unsigned int», «const», «long long»: numora's word instead.
    void TypeWords(size_t i) {
        if (i < typeWordsEnd_ || Kind(i) != TokenKind::Name) return;
        for (const TypeWordsRow& row : kTypeWords) {
            size_t n = 0;
            while (n < row.words.size() && !row.words[n].empty() && tokens_.IsName(i + n, row.words[n])) ++n;
            if (n == 0 || (n < row.words.size() && !row.words[n].empty())) continue;
            // A word numora lacks may be a name the session declared.
            if (TypeCodeOf(row.words[0]) == 0 && !IsUndefined(row.words[0])) return;
            const size_t last = i + n - 1;
            typeWordsEnd_ = last + 1;
            std::string words(row.words[0]);
            for (size_t k = 1; k < n; ++k) words += " " + std::string(row.words[k]);
            // A word that goes takes the blanks after it along.
            const int end = row.numora.empty() ? NextStart(last) : tokens_.At(last).end;
            AddRewrite(row.kind, words, row.numora, {tokens_.At(i).start, end, std::string(row.numora)});
            return;
        }
    }

    // Where the token after token i begins: the end of the line after the last.
    int NextStart(size_t i) {
        return i + 1 < Count() ? tokens_.At(i + 1).start : static_cast<int>(tokens_.Line().size());
    }

    // «char *p = "abc"», «int *q».
    void Pointer(size_t i) {
        if (!IsTypeWord(i) || !tokens_.IsOperator(i + 1, OP_MUL)) return;
        size_t name = i + 1;
        while (tokens_.IsOperator(name, OP_MUL)) ++name;
        if (Kind(name) != TokenKind::Name) return;
        if (Text(i) == "char" && name == i + 2) {
            AddRewrite(HintKind::CharPointer, {}, {}, {tokens_.At(i).start, tokens_.At(name).start, "string "});
            return;
        }
        Add(MakeHint(HintKind::Pointer, {}));
        rewriteBlocked_ = true;
    }

    // «int a = 1, int b = 2»: the type word again after a ",".
    void SecondTypeWord() {
        if (!IsTypeWord(0)) return;
        for (size_t i = tokens_.ValueEnd(1); i + 1 < Count(); i = tokens_.ValueEnd(i + 1)) {
            if (!tokens_.IsOperator(i, OP_COMMA) || !IsTypeWord(i + 1)) continue;
            if (Text(i + 1) != Text(0)) {
                Add(MakeHint(HintKind::TwoTypeWords, {}));
                rewriteBlocked_ = true;
                continue;
            }
            AddRewrite(HintKind::TwoTypeWords, {}, {}, {tokens_.At(i + 1).start, NextStart(i + 1), ""});
        }
    }

    // «1.5f», «10u»: a suffix that touches a number.
    void LiteralSuffix(size_t i) {
        if (Kind(i) != TokenKind::Number || Kind(i + 1) != TokenKind::Name || !tokens_.Touch(i)) return;
        if (!IsLiteralSuffix(Text(i + 1))) return;
        edits_.push_back({tokens_.At(i + 1).start, tokens_.At(i + 1).end, ""});
        if (Told(HintKind::LiteralSuffix) || !Proposable(tokens_.Span(i, i + 1))) return;
        Add(MakeHint(HintKind::LiteralSuffix, {{"suffix", Text(i + 1)}, {"literal", tokens_.Span(i, i + 1)}},
                     {std::string(Text(i))}));
    }

    // «'\n'»: a character constant holds one character, with no escapes.
    void CharEscape(size_t i) {
        if (Kind(i) != TokenKind::Char) return;
        const std::string_view text = Text(i);
        if (text.size() < 3 || !text.starts_with("'\\")) return;
        const auto row = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                      [&](const EscapeRow& r) { return r.letter == text[2]; });
        if (row == std::end(kEscapes)) {
            Add(MakeHint(HintKind::CharEscape, {}));
            rewriteBlocked_ = true;
            return;
        }
        const std::string code = std::to_string(row->code);
        // «'\''» ends the constant at its second quote: the third is left over.
        const bool whole = text.size() == 4 && text[3] == '\'';
        if (whole) {
            edits_.push_back({tokens_.At(i).start, tokens_.At(i).end, code});
        } else {
            rewriteBlocked_ = true;
        }
        if (Told(HintKind::CharEscape)) return;
        const std::string constant = "'\\" + std::string(1, row->letter) + "'";
        Add(MakeHint(HintKind::CharEscape, {{"literal", constant}}, {code}));
    }

    // «s[0]» of a string.
    void StringSubscript(size_t i) {
        if (Kind(i) != TokenKind::LBracket || i == 0) return;
        bool text = Kind(i - 1) == TokenKind::String;
        if (Kind(i - 1) == TokenKind::Name) {
            const CExpItem* item = manager_.Find(Text(i - 1));
            text = item != nullptr && item->Kind() == EXP_VARIABLE && item->ValueType() == VTYPE_STRING;
        }
        if (text) Add(MakeHint(HintKind::StringSubscript, {}));
    }

    // «quit», «exit()», «exit(3)», «help»: a word alone, as other programs
    // end or explain themselves.
    void CommandWord() {
        const size_t count = EndOfStatement(0);
        if (count == 0 || Kind(0) != TokenKind::Name || !IsUndefined(Text(0))) return;
        const std::string_view word = Text(0);
        const bool call = count >= 3 && Kind(1) == TokenKind::LParen && tokens_.Closing(1) == count - 1;
        const bool alone = count == 1 || (call && count == 3);
        if (word == "help" && alone) Add(MakeHint(HintKind::Help, {}));
        if (word != "quit" && word != "exit" && word != "bye") return;
        // «exit(3)»: the status is the last result's.
        const std::string_view status = count == 4 ? Text(2) : std::string_view();
        const bool decimal = Kind(2) == TokenKind::Number && !status.empty() && status.size() <= 10 &&
                             status.find_first_not_of("0123456789") == std::string_view::npos;
        if (word == "exit" && call && decimal && !status.starts_with('0')) {
            Add(MakeHint(HintKind::EndSessionWithStatus, {}, {std::string(status), "#exit"}));
        } else if (alone || (word == "exit" && call)) {
            Add(MakeHint(HintKind::EndSession, {}));
        }
    }

    // «x = 5» with no x: the name must be declared with a type first, the
    // type of the value it is given.
    void UndeclaredAssignment(const CExpDiag& diagnostic) {
        if (diagnostic.id != Diag::UndefinedName) return;
        const size_t name = tokens_.KindAt(diagnostic.position, TokenKind::Name);
        if (name >= Count() || !tokens_.IsOperator(name + 1, OP_ASSIGN) || !IsUndefined(Text(name))) return;
        const std::string shown = ShownText(Text(name));
        const std::string_view value = ValueFrom(name + 2);
        // A value too long to propose is not read again.
        const int type = value.empty() || value.size() > kLongestProposal ? 0 : TypeOf(value);
        const bool fraction = type == VTYPE_FRACTION;
        const std::string typeName = DeclaredType(type);
        if (typeName.empty()) {
            Add(MakeHint(HintKind::UndeclaredUntyped, {{"name", shown}}));
            return;
        }
        const std::string declaration = typeName + " " + std::string(Text(name));
        const std::string initialized = declaration + " = " + std::string(value);
        const std::string line = Proposable(initialized) ? initialized : declaration;
        if (!Proposable(line)) {
            Add(MakeHint(HintKind::UndeclaredUntyped, {{"name", shown}}));
            return;
        }
        const HintKind kind = fraction ? HintKind::UndeclaredFraction : HintKind::UndeclaredAssignment;
        Add(MakeHint(kind, {{"name", shown}}, {line}));
    }

    // «int a = 4» when a exists: names last for the whole session.
    void SecondDeclaration(const CExpDiag& diagnostic) {
        const Diag id = diagnostic.id;
        if (id != Diag::VariableNameInUse && id != Diag::ArrayNameInUse && id != Diag::FunctionNameInUse) return;
        const size_t name = tokens_.KindAt(diagnostic.position, TokenKind::Name);
        if (name >= Count()) return;
        const std::string shown = ShownText(Text(name));
        const CExpItem* item = manager_.Find(Text(name));
        if (item != nullptr && item->Kind() == EXP_FUNCTION) {
            const bool builtin = static_cast<const CExpFunction*>(item)->Number() < CExpFunction::kUserFunction;
            Add(MakeHint(builtin ? HintKind::BuiltinRedefinition : HintKind::FunctionRedefinition, {{"name", shown}}));
            return;
        }
        if (item != nullptr && item->Kind() == EXP_VARARRAY) {
            Add(MakeHint(HintKind::SecondArrayDeclaration, {{"name", shown}}));
            return;
        }
        // The initial value, stored by an assignment as the declaration
        // would have kept it.
        if (id == Diag::VariableNameInUse && item != nullptr && tokens_.IsOperator(name + 1, OP_ASSIGN)) {
            const std::string_view value = ValueFrom(name + 2);
            const std::string assignment = std::string(Text(name)) + " = " + std::string(value);
            if (!value.empty() && Proposable(assignment) && KeepsItsType(item->ValueType(), TypeOf(value))) {
                Add(MakeHint(HintKind::SecondDeclaration, {{"name", shown}}, {assignment}));
                return;
            }
        }
        Add(MakeHint(HintKind::SecondDeclaration, {{"name", shown}}));
    }

    // «b» for an array b: an element is what has a value.
    void ArrayWithoutSubscript(const CExpDiag& diagnostic) {
        if (diagnostic.id != Diag::UndefinedName) return;
        const size_t name = tokens_.KindAt(diagnostic.position, TokenKind::Name);
        if (name >= Count() || Kind(name + 1) == TokenKind::LBracket) return;
        const CExpItem* item = manager_.Find(Text(name));
        if (item == nullptr || item->Kind() != EXP_VARARRAY) return;
        const CArrayData* storage = static_cast<const CExpVararray*>(item)->Storage();
        std::string element(Text(name));
        for (size_t d = 0; d < (storage != nullptr ? storage->Dims().size() : 1); ++d) element += "[0]";
        if (!Proposable(element)) return;
        Add(MakeHint(HintKind::ArrayWithoutSubscript, {{"name", ShownText(Text(name))}}, {element}));
    }

    // The line with every habit that a change of its text mends so mended,
    // proposed by the last of those hints; none when another habit of the
    // line has no such change.
    void ProposeRewrittenLine() {
        if (rewrites_.empty() || rewriteBlocked_) return;
        const std::string line = RewrittenLine();
        if (!Proposable(line)) return;
        const Rewrite& last = rewrites_.back();
        hints_[last.hint] = MakeHint(last.kind, {{"words", last.words}, {"type", last.type}}, {line});
    }

    // The line up to a ";" that ends it, with the edits made; empty when
    // more follows a ";" or two edits overlap.
    std::string RewrittenLine() {
        const size_t end = EndOfSemicolons();
        if (end == Count() + 1) return {};
        const size_t length = end < Count() ? static_cast<size_t>(tokens_.At(end).start) : tokens_.Line().size();
        const std::string_view line = tokens_.Line().substr(0, length);
        std::sort(edits_.begin(), edits_.end(), [](const Edit& a, const Edit& b) { return a.start < b.start; });
        std::string text;
        size_t at = 0;
        for (const Edit& edit : edits_) {
            const auto start = static_cast<size_t>(edit.start);
            if (start < at || static_cast<size_t>(edit.end) > line.size()) return {};
            text += line.substr(at, start - at);
            text += edit.replacement;
            at = static_cast<size_t>(edit.end);
        }
        text += line.substr(at);
        return std::string(Trimmed(text));
    }

    // The first ";" of the line when only ";" follow it, Count() without
    // one, Count() + 1 when something else follows.
    size_t EndOfSemicolons() {
        size_t first = 0;
        while (first < Count() && !tokens_.IsSemicolon(first)) ++first;
        for (size_t i = first; i < Count(); ++i) {
            if (!tokens_.IsSemicolon(i)) return Count() + 1;
        }
        return first;
    }

    struct Rewrite {
        size_t hint;
        HintKind kind;
        std::string words;
        std::string type;
    };

    CLineTokens& tokens_;
    std::span<const CExpDiag> diagnostics_;
    const CExpManager& manager_;
    std::vector<Hint> hints_;
    std::vector<Edit> edits_;
    std::vector<Rewrite> rewrites_;
    bool rewriteBlocked_ = false;
    size_t typeWordsEnd_ = 0;
};

}  // namespace

std::vector<Hint> HabitHints(CLineTokens& tokens, std::span<const CExpDiag> diagnostics, const CExpManager& manager) {
    return HintFinder(tokens, diagnostics, manager).Find();
}
