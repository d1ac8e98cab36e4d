#include "app/HabitHints.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "app/CLineTokens.h"
#include "engine/items/CExpFunction.h"
#include "engine/lexer/Keywords.h"
#include "engine/lexer/OperatorTable.h"
#include "engine/manager/CExpManager.h"

namespace {

// C's compound assignments; the longer ones first, since «<<=» also
// begins with «<».
constexpr std::array<std::string_view, 10> kCompoundAssignments = {"<<=", ">>=", "+=", "-=", "*=",
                                                                   "/=",  "%=",  "&=", "|=", "^="};

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && IsBlank(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

// What a hint quotes of the line: short enough to read at a glance.
bool Quotable(std::string_view text) {
    return !text.empty() && ShownText(text).size() == text.size();
}

class HintFinder {
public:
    HintFinder(CLineTokens& tokens, std::span<const CExpDiag> diagnostics, const CExpManager& manager)
        : tokens_(tokens), diagnostics_(diagnostics), manager_(manager) {}

    std::vector<std::string> Find() {
        for (size_t i = 0; i < tokens_.Count(); ++i) {
            Semicolon(i);
            CompoundAssignment(i);
            Cast(i);
            Sizeof(i);
            Power(i);
            UserFunctionCall(i);
        }
        CommandWord();
        for (const CExpDiag& diagnostic : diagnostics_) {
            UndeclaredAssignment(diagnostic);
            SecondDeclaration(diagnostic);
        }
        return std::move(hints_);
    }

private:
    // Each habit is told once a line, however often the line shows it.
    void Add(std::string hint) {
        if (std::find(hints_.begin(), hints_.end(), hint) == hints_.end()) hints_.push_back(std::move(hint));
    }

    std::string_view Text(size_t i) { return tokens_.Text(i); }
    TokenKind Kind(size_t i) { return tokens_.At(i).kind; }
    // The text of the line from the end of token i to its end.
    std::string_view RestAfter(size_t i) {
        if (i >= tokens_.Count()) return {};
        return Trimmed(tokens_.Line().substr(static_cast<size_t>(tokens_.At(i).end)));
    }
    bool IsOperand(size_t i) {
        const TokenKind kind = Kind(i);
        return kind == TokenKind::Name || kind == TokenKind::Number || kind == TokenKind::Fraction ||
               kind == TokenKind::Char || kind == TokenKind::String;
    }
    bool IsUndefined(std::string_view name) { return manager_.Find(name) == nullptr; }

    void Semicolon(size_t i) {
        if (Kind(i) != TokenKind::Other || Text(i) != ";") return;
        Add("numora reads one expression a line and has no \";\": leave it out, or separate expressions "
            "with \",\"");
    }

    void CompoundAssignment(size_t i) {
        if (Kind(i) != TokenKind::Operator) return;
        const std::string_view from = tokens_.Line().substr(static_cast<size_t>(tokens_.At(i).start));
        const auto found = std::find_if(kCompoundAssignments.begin(), kCompoundAssignments.end(),
                                        [&](std::string_view op) { return from.starts_with(op); });
        if (found == kCompoundAssignments.end()) return;
        const std::string_view op = found->substr(0, found->size() - 1);
        const std::string_view right = Trimmed(from.substr(found->size()));
        std::string example = "a = a " + std::string(op) + " 2";
        if (i > 0 && Kind(i - 1) == TokenKind::Name && Quotable(right)) {
            // What follows the operator becomes its right operand whole.
            const bool single = right.find_first_of(" +-*/%<>=!&|^?:,()") == std::string_view::npos;
            const std::string operand = single ? std::string(right) : "(" + std::string(right) + ")";
            example = std::string(Text(i - 1)) + " = " + std::string(Text(i - 1)) + " " + std::string(op) + " " + operand;
        }
        Add("numora has no compound assignment \"" + std::string(*found) + "\": write " + example);
    }

    // «(int)x»: a type word alone in parentheses, before an operand; not the
    // parameter list of a call or a definition.
    void Cast(size_t i) {
        if (Kind(i) != TokenKind::LParen || Kind(i + 1) != TokenKind::Name || Kind(i + 2) != TokenKind::RParen) return;
        if (i > 0 && Kind(i - 1) == TokenKind::Name) return;
        const std::string_view type = Text(i + 1);
        if (TypeCodeOf(type) == 0) return;
        const std::string value = IsOperand(i + 3) && Quotable(Text(i + 3)) ? std::string(Text(i + 3)) : "3.7";
        Add("numora has no casts such as \"(" + std::string(type) + ")\": a value takes a variable's type when it "
            "is stored, as in " + std::string(type) + " v = " + value);
    }

    void Sizeof(size_t i) {
        if (!tokens_.IsName(i, "sizeof") || !IsUndefined("sizeof")) return;
        Add("numora has no sizeof; its types have fixed sizes: char, byte and bool 1 byte, short and word 2, "
            "int, long, dword and float 4, double 8");
    }

    // «2**10»: two "*" that touch.
    void Power(size_t i) {
        if (!tokens_.IsOperator(i, OP_MUL) || !tokens_.IsOperator(i + 1, OP_MUL)) return;
        if (tokens_.At(i).end != tokens_.At(i + 1).start) return;
        std::string call = "pow(x, y)";
        if (i > 0 && IsOperand(i - 1) && IsOperand(i + 2) && Quotable(Text(i - 1)) && Quotable(Text(i + 2))) {
            call = "pow(" + std::string(Text(i - 1)) + ", " + std::string(Text(i + 2)) + ")";
        }
        Add("numora has no \"**\" operator: write " + call);
    }

    // «f(3)», not «int f(int x)», which defines it.
    void UserFunctionCall(size_t i) {
        if (Kind(i) != TokenKind::Name || Kind(i + 1) != TokenKind::LParen) return;
        if (i > 0 && Kind(i - 1) == TokenKind::Name && (TypeCodeOf(Text(i - 1)) != 0 || Text(i - 1) == "void")) return;
        const CExpItem* item = manager_.Find(Text(i));
        if (item == nullptr || item->Kind() != EXP_FUNCTION) return;
        if (static_cast<const CExpFunction*>(item)->Number() < CExpFunction::kUserFunction) return;
        Add("\"" + ShownText(Text(i)) + "\" is a user-defined function: numora accepts and lists definitions "
            "(#lf), but never runs a call of one");
    }

    // «quit», «exit()», «help»: a word alone, as other programs end or
    // explain themselves.
    void CommandWord() {
        const size_t count = tokens_.Count();
        const bool alone = count == 1 || (count == 3 && Kind(1) == TokenKind::LParen && Kind(2) == TokenKind::RParen);
        if (!alone || Kind(0) != TokenKind::Name || !IsUndefined(Text(0))) return;
        const std::string_view word = Text(0);
        if (word == "quit" || word == "exit" || word == "bye") {
            Add("to end the session, type #exit or press Ctrl-D");
        } else if (word == "help") {
            Add("#help lists the console commands and #g the grammar; man numora and the option --help say more");
        }
    }

    // «x = 5» with no x: the name must be declared with a type first.
    void UndeclaredAssignment(const CExpDiag& diagnostic) {
        if (diagnostic.id != Diag::UndefinedName) return;
        const size_t name = tokens_.KindAt(diagnostic.position, TokenKind::Name);
        if (name >= tokens_.Count() || !tokens_.IsOperator(name + 1, OP_ASSIGN)) return;
        const std::string_view value = RestAfter(name + 1);
        Add("\"" + ShownText(Text(name)) + "\" is not declared: declare it with its type first, as in int " +
            ShownText(Text(name)) + " = " + (Quotable(value) ? std::string(value) : "0"));
    }

    // «int a = 4» when a exists: names last for the whole session.
    void SecondDeclaration(const CExpDiag& diagnostic) {
        const Diag id = diagnostic.id;
        if (id != Diag::VariableNameInUse && id != Diag::ArrayNameInUse && id != Diag::FunctionNameInUse) return;
        const size_t name = tokens_.KindAt(diagnostic.position, TokenKind::Name);
        if (name >= tokens_.Count()) return;
        const std::string shown = "\"" + ShownText(Text(name)) + "\"";
        const CExpItem* item = manager_.Find(Text(name));
        if (item != nullptr && item->Kind() == EXP_FUNCTION) {
            const bool builtin = static_cast<const CExpFunction*>(item)->Number() < CExpFunction::kUserFunction;
            Add(shown + (builtin ? " is a built-in function" : " is already a function") +
                ": functions cannot be redefined; choose another name");
            return;
        }
        std::string instead = "assign to it instead";
        // The initial value, unless another declarator follows.
        const std::string_view value = RestAfter(name + 1);
        if (id == Diag::VariableNameInUse && tokens_.IsOperator(name + 1, OP_ASSIGN) && Quotable(value) &&
            value.find(',') == std::string_view::npos) {
            instead += " (" + std::string(Text(name)) + " = " + std::string(value) + ")";
        }
        Add(shown + " is already declared, and names last for the whole session: " + instead +
            ", or choose another name");
    }

    CLineTokens& tokens_;
    std::span<const CExpDiag> diagnostics_;
    const CExpManager& manager_;
    std::vector<std::string> hints_;
};

}  // namespace

std::vector<std::string> HabitHints(CLineTokens& tokens, std::span<const CExpDiag> diagnostics,
                                    const CExpManager& manager) {
    return HintFinder(tokens, diagnostics, manager).Find();
}
