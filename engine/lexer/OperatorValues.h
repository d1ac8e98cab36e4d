#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/Diagnostics.h"
#include "value/CValueData.h"

// What the pure operators make of values: the value rules that the rows of
// the operator table (OperatorTable.h) name, over the value operations of
// CValueData. A rule works out one or two operand values (a unary one
// ignores the second) into out, or refuses with the reason. The rules are
// applied in one place, CExpOperator's, for the run of a line, for the
// folding while it is read and for the literal pass alike.

// The operand types an operator accepts at run time.
enum class Accepts : uint8_t { Any, Numeric, Integer, NumericOrString };

using ValueRule = bool (*)(Accepts accepts, const CValueData& left, const CValueData& right, CValueData& out,
                           Diag& why);
using Arithmetic = CValueData (CValueData::*)(const CValueData&) const;
using Predicate = bool (CValueData::*)(const CValueData&) const;

constexpr bool IsAccepted(Accepts accepts, uint32_t type) {
    switch (accepts) {
        case Accepts::Any: return true;
        case Accepts::Numeric: return IsNumericType(type);
        case Accepts::Integer: return IsIntegerType(type);
        case Accepts::NumericOrString: return IsNumericType(type) || IsStringType(type);
    }
    return false;
}

namespace operator_values_detail {

inline constexpr uint32_t kTypeCodes = VTYPE_STRING + 1;
// The tables by pairs of type codes have rows of 16, the power of two past
// the codes: a pair's place is worked out by shifts, not multiplications.
inline constexpr uint32_t kTypeRow = 16;
static_assert(kTypeCodes <= kTypeRow);

// Whether a binary operator takes the types of both its operands, for each
// rule and pair of type codes. Looked up, not worked out: in a line of
// mixed operators, which rule applies is as random as the operators.
inline constexpr auto kAcceptedPairs = [] {
    std::array<std::array<std::array<bool, kTypeRow>, kTypeRow>, 4> pairs{};
    for (const Accepts accepts : {Accepts::Any, Accepts::Numeric, Accepts::Integer, Accepts::NumericOrString}) {
        for (uint32_t left = 0; left < kTypeCodes; ++left) {
            for (uint32_t right = 0; right < kTypeCodes; ++right) {
                const bool mixed = accepts == Accepts::NumericOrString && IsStringType(left) != IsStringType(right);
                pairs[static_cast<size_t>(accepts)][left][right] =
                    !mixed && IsAccepted(accepts, left) && IsAccepted(accepts, right);
            }
        }
    }
    return pairs;
}();

inline bool Refuse(Diag& why, Diag id) {
    why = id;
    return false;
}

// A zero divisor is refused whatever the dividend is, before the types are
// looked at. Converting a string or empty divisor raises the value error.
inline bool IsZeroDivisor(const CValueData& divisor) {
    return IsIntegerType(divisor.Type()) ? divisor.AsInt() == 0 : divisor.AsDouble() == 0.0;
}

}  // namespace operator_values_detail

inline bool BothAccepted(Accepts accepts, const CValueData& left, const CValueData& right) {
    return operator_values_detail::kAcceptedPairs[static_cast<size_t>(accepts)][left.Type()][right.Type()];
}

// ---- The unary rules ----

inline bool ApplyPlus(Accepts accepts, const CValueData& operand, const CValueData&, CValueData& out, Diag& why) {
    if (!IsAccepted(accepts, operand.Type())) return operator_values_detail::Refuse(why, Diag::BadOperand);
    out = operand.Plus();
    return true;
}

inline bool ApplyNegate(Accepts accepts, const CValueData& operand, const CValueData&, CValueData& out, Diag& why) {
    if (!IsAccepted(accepts, operand.Type())) return operator_values_detail::Refuse(why, Diag::BadOperand);
    CValueData negated = operand;
    out = negated.Negate();
    return true;
}

inline bool ApplyBitNot(Accepts accepts, const CValueData& operand, const CValueData&, CValueData& out, Diag& why) {
    if (!IsAccepted(accepts, operand.Type())) return operator_values_detail::Refuse(why, Diag::BadOperand);
    out = CValueData::Dword(~static_cast<uint32_t>(operand.AsInt()));
    return true;
}

inline bool ApplyNot(Accepts accepts, const CValueData& operand, const CValueData&, CValueData& out, Diag& why) {
    if (!IsAccepted(accepts, operand.Type())) return operator_values_detail::Refuse(why, Diag::BadOperand);
    out = CValueData::Bool(!operand.AsBool());
    return true;
}

// ---- The binary rules ----
// One instance per value operation, so that working an operator out is a
// single call: which operation a line's operator does is as random as the
// line, and a second call through the operation's pointer would be
// mispredicted as often as the first.

template <Arithmetic operation>
bool ApplyArithmetic(Accepts accepts, const CValueData& left, const CValueData& right, CValueData& out, Diag& why) {
    if (!BothAccepted(accepts, left, right)) return operator_values_detail::Refuse(why, Diag::BadOperand);
    out = (left.*operation)(right);
    return true;
}

template <Arithmetic operation>
bool ApplyDivision(Accepts accepts, const CValueData& left, const CValueData& right, CValueData& out, Diag& why) {
    if (operator_values_detail::IsZeroDivisor(right)) return operator_values_detail::Refuse(why, Diag::DivideByZero);
    return ApplyArithmetic<operation>(accepts, left, right, out, why);
}

template <Predicate relation>
bool ApplyComparison(Accepts accepts, const CValueData& left, const CValueData& right, CValueData& out, Diag& why) {
    if (!BothAccepted(accepts, left, right)) return operator_values_detail::Refuse(why, Diag::BadOperand);
    out = CValueData::Bool((left.*relation)(right));
    return true;
}
