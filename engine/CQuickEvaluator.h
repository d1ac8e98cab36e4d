#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/CExpDiag.h"
#include "value/CValueData.h"

class CExpFunction;
class CExpScope;
struct OperatorDef;

// Evaluates, as it reads them, the lines a calculator sees most: numeric
// literals, the operators + - * / % (and unary + -), parentheses and calls of
// the built-ins that only compute a number from numbers (sqrt, sin, pow …).
// Such a line has no effect but its value, so there is nothing to gain from
// building, checking and keeping its item tree.
//
// The evaluator reads literals, blanks, comments, operators and names with
// the parser's own helpers and computes with the value model's own arithmetic
// and the built-ins' own implementations, so a value it gives is the value
// the full parser gives. Whenever the line holds anything else, or the full
// parser would report a diagnostic for it (a malformed literal, division by
// zero, a math error, …), it declines and the full parser handles the line
// from the start; nothing it declines has left a trace.
class CQuickEvaluator {
public:
    explicit CQuickEvaluator(const CExpScope& scope) : scope_(scope) {}

    // True with the line's value in result; false when the line is declined.
    bool Evaluate(const std::string& text, CValueData& result);

private:
    // An operator waiting for its right operand, or the "(" of a group.
    struct Pending {
        int code;
        int precedence;
        bool unary;
    };
    static constexpr int kGroup = -1;

    bool Expression();
    [[gnu::always_inline]] bool Operand();
    [[gnu::noinline]] bool NamedOperand();
    const CExpFunction* PureBuiltin(std::string_view name);
    bool Call(int number, size_t paramCount);
    [[gnu::always_inline]] bool Reduce();
    // Run before every token, so written to be inlined.
    [[gnu::always_inline]] bool SkipToToken();
    // Moves past count characters of the current token and to the next one.
    [[gnu::always_inline]] bool Advance(int count);
    // The binary operator at the cursor; nullptr for anything else.
    [[gnu::always_inline]] const OperatorDef* BinaryAtCursor() const;

    const CExpScope& scope_;
    const std::string* text_ = nullptr;
    CExpSource source_;
    int steps_ = 0;
    std::vector<CValueData> values_;
    std::vector<Pending> pending_;
    std::vector<std::pair<std::string, const CExpFunction*>> pureBuiltins_;
};
