// The binary and unary operations of CValueData. Every binary operation
// converts both operands to their common type and computes in that type's
// width; integers wrap around, and nothing traps.
#include <cstdint>

#include "value/CTextError.h"
#include "value/CValueData.h"
#include "value/Wrap32.h"

namespace {

// Each operation carries its raising site as its value; users see these
// numbers, so they never change.
enum class Arith { Add = 763, Sub = 834, Mul = 905, Div = 976, Mod = 1029 };
enum class Bitwise { ShiftLeft = 1076, ShiftRight = 1123, And = 1170, Or = 1217, Xor = 1264 };
enum class Relation { Less = 1325, LessEqual = 1386, Greater = 1447, GreaterEqual = 1508, Equal = 1574, NotEqual = 1640 };
enum class Logic { And = 1701, Or = 1762 };
constexpr int kPlusSite = 633;
constexpr int kNegateSite = 657;

[[noreturn]] void Raise(auto operation) { RaiseValueError(static_cast<int>(operation)); }

// The operand converted to the integer type c and widened to 32 bits, with
// the sign extended for the signed types.
uint32_t WidenedBits(const CValueData& v, TypeCode c) {
    switch (c) {
    case VTYPE_CHAR: return static_cast<uint32_t>(int32_t{v.AsChar()});
    case VTYPE_BYTE: return v.AsByte();
    case VTYPE_SHORT: return static_cast<uint32_t>(int32_t{v.AsShort()});
    case VTYPE_WORD: return v.AsWord();
    case VTYPE_INT: return static_cast<uint32_t>(v.AsInt());
    case VTYPE_LONG: return static_cast<uint32_t>(v.AsLong());
    default: return v.AsDword();
    }
}

// Keeps the low bits that the integer type c holds.
CValueData NarrowedInteger(TypeCode c, uint32_t bits) {
    switch (c) {
    case VTYPE_CHAR: return CValueData::Char(static_cast<int8_t>(bits));
    case VTYPE_BYTE: return CValueData::Byte(static_cast<uint8_t>(bits));
    case VTYPE_SHORT: return CValueData::Short(static_cast<int16_t>(bits));
    case VTYPE_WORD: return CValueData::Word(static_cast<uint16_t>(bits));
    case VTYPE_INT: return CValueData::Int(static_cast<int32_t>(bits));
    case VTYPE_LONG: return CValueData::Long(static_cast<int32_t>(bits));
    default: return CValueData::Dword(bits);
    }
}

template <Arith op>
uint32_t IntegerArithmetic(bool isSigned, uint32_t a, uint32_t b) {
    const auto sa = static_cast<int32_t>(a);
    const auto sb = static_cast<int32_t>(b);
    switch (op) {
    case Arith::Add: return a + b;
    case Arith::Sub: return a - b;
    case Arith::Mul: return a * b;
    case Arith::Div: return isSigned ? static_cast<uint32_t>(WrapDiv(sa, sb)) : WrapDiv(a, b);
    case Arith::Mod: return isSigned ? static_cast<uint32_t>(WrapMod(sa, sb)) : WrapMod(a, b);
    }
    return 0;
}

template <Arith op, typename T>
T FloatingArithmetic(T a, T b) {
    switch (op) {
    case Arith::Add: return a + b;
    case Arith::Sub: return a - b;
    case Arith::Mul: return a * b;
    case Arith::Div: return a / b;
    case Arith::Mod: Raise(op);
    }
    return 0;
}

// bool arithmetic: + is or, - and / are exclusive or, * is and.
template <Arith op>
bool BoolArithmetic(bool a, bool b) {
    switch (op) {
    case Arith::Add: return a || b;
    case Arith::Sub:
    case Arith::Div: return a != b;
    case Arith::Mul: return a && b;
    case Arith::Mod: Raise(op);
    }
    return false;
}

template <Arith op>
CFraction FractionArithmetic(CFraction a, CFraction b) {
    switch (op) {
    case Arith::Add: return FractionAdd(a, b);
    case Arith::Sub: return FractionSub(a, b);
    case Arith::Mul: return FractionMul(a, b);
    case Arith::Div: return FractionDiv(a, b);
    case Arith::Mod: Raise(op);
    }
    return {};
}

template <Arith op>
CValueData Concatenation(const CValueData& left, const CValueData& right) {
    if (op != Arith::Add) Raise(op);
    // Strings join as C strings: each ends at its first zero byte.
    const std::string_view head = left.StringRef().CView();
    const std::string_view tail = right.StringRef().CView();
    std::string text;
    text.reserve(head.size() + tail.size());
    text.append(head).append(tail);
    return CValueData::String(std::string_view(text));
}

bool IsInt32(TypeCode code) { return code == VTYPE_INT || code == VTYPE_LONG; }

// One instance per operation, so each computes without asking which.
template <Arith op>
CValueData Arithmetic(const CValueData& left, const CValueData& right) {
    // The two commonest cases, answered before the general rule: 32-bit
    // signed integers meet in long, doubles stay double.
    if (IsInt32(left.Type()) && IsInt32(right.Type())) {
        const auto bits = IntegerArithmetic<op>(true, static_cast<uint32_t>(left.AsLong()),
                                                static_cast<uint32_t>(right.AsLong()));
        return CValueData::Long(static_cast<int32_t>(bits));
    }
    if (left.Type() == VTYPE_DOUBLE && right.Type() == VTYPE_DOUBLE) {
        return CValueData::Double(FloatingArithmetic<op>(left.AsDouble(), right.AsDouble()));
    }
    const TypeCode c = CommonType(left.Type(), right.Type());
    if (IsIntegerType(c)) {
        return NarrowedInteger(c, IntegerArithmetic<op>(IsSignedType(c), WidenedBits(left, c), WidenedBits(right, c)));
    }
    switch (c) {
    case VTYPE_FLOAT: return CValueData::Float(FloatingArithmetic<op>(left.AsFloat(), right.AsFloat()));
    case VTYPE_DOUBLE: return CValueData::Double(FloatingArithmetic<op>(left.AsDouble(), right.AsDouble()));
    case VTYPE_BOOL: return CValueData::Bool(BoolArithmetic<op>(left.AsBool(), right.AsBool()));
    case VTYPE_FRACTION: return CValueData::Fraction(FractionArithmetic<op>(left.AsFraction(), right.AsFraction()));
    case VTYPE_STRING: return Concatenation<op>(left, right);
    default: Raise(op);
    }
}

// Right shifts copy the sign bit for the signed types; the operand is already
// sign-extended to 32 bits, so shifting those 32 bits is enough.
uint32_t ShiftedRight(uint32_t bits, uint32_t count, bool isSigned) {
    const bool negative = isSigned && (bits & 0x80000000u) != 0;
    return negative ? ~(~bits >> count) : bits >> count;
}

CValueData BitwiseOperation(Bitwise op, const CValueData& left, const CValueData& right) {
    const TypeCode c = CommonType(left.Type(), right.Type());
    if (!IsIntegerType(c)) Raise(op);
    const uint32_t a = WidenedBits(left, c);
    const uint32_t b = WidenedBits(right, c);
    switch (op) {
    case Bitwise::ShiftLeft: return NarrowedInteger(c, a << (b & 31u));
    case Bitwise::ShiftRight: return NarrowedInteger(c, ShiftedRight(a, b & 31u, IsSignedType(c)));
    case Bitwise::And: return NarrowedInteger(c, a & b);
    case Bitwise::Or: return NarrowedInteger(c, a | b);
    case Bitwise::Xor: return NarrowedInteger(c, a ^ b);
    }
    Raise(op);
}

template <typename T>
bool Holds(Relation relation, T a, T b) {
    switch (relation) {
    case Relation::Less: return a < b;
    case Relation::LessEqual: return a <= b;
    case Relation::Greater: return a > b;
    case Relation::GreaterEqual: return a >= b;
    case Relation::Equal: return a == b;
    case Relation::NotEqual: return a != b;
    }
    return false;
}

bool IsEquality(Relation relation) { return relation == Relation::Equal || relation == Relation::NotEqual; }

// Fractions are ordered by their quotients but equal only as reduced pairs,
// so 3/-2 and -3/2 are neither less nor greater, and still unequal.
bool FractionRelation(Relation relation, CFraction a, CFraction b) {
    a = Reduce(a);
    b = Reduce(b);
    if (IsEquality(relation)) return (a == b) == (relation == Relation::Equal);
    return Holds(relation, a.ToDouble(), b.ToDouble());
}

bool StringRelation(Relation relation, const CIString& a, const CIString& b) {
    if (!IsEquality(relation)) Raise(relation);
    return a.Equal(b) == (relation == Relation::Equal);
}

bool Compare(Relation relation, const CValueData& left, const CValueData& right) {
    const TypeCode c = CommonType(left.Type(), right.Type());
    if (IsIntegerType(c)) {
        const uint32_t a = WidenedBits(left, c);
        const uint32_t b = WidenedBits(right, c);
        return IsSignedType(c) ? Holds(relation, static_cast<int32_t>(a), static_cast<int32_t>(b)) : Holds(relation, a, b);
    }
    switch (c) {
    case VTYPE_FLOAT: return Holds(relation, left.AsFloat(), right.AsFloat());
    case VTYPE_DOUBLE: return Holds(relation, left.AsDouble(), right.AsDouble());
    case VTYPE_BOOL: return Holds(relation, int{left.AsBool()}, int{right.AsBool()});
    case VTYPE_FRACTION: return FractionRelation(relation, left.AsFraction(), right.AsFraction());
    case VTYPE_STRING: return StringRelation(relation, left.StringRef(), right.StringRef());
    default: Raise(relation);
    }
}

// The operand tested against zero in the common type c.
bool Truth(const CValueData& v, TypeCode c, Logic op) {
    if (IsIntegerType(c)) return WidenedBits(v, c) != 0;
    switch (c) {
    case VTYPE_FLOAT: return v.AsFloat() != 0.0f;
    case VTYPE_DOUBLE: return v.AsDouble() != 0.0;
    case VTYPE_BOOL: return v.AsBool();
    case VTYPE_FRACTION: return v.AsFraction().ToDouble() != 0.0;
    default: Raise(op);
    }
}

bool Logical(Logic op, const CValueData& left, const CValueData& right) {
    const TypeCode c = CommonType(left.Type(), right.Type());
    const bool a = Truth(left, c, op);
    const bool b = Truth(right, c, op);
    return op == Logic::And ? a && b : a || b;
}

}  // namespace

CValueData CValueData::Add(const CValueData& right) const { return Arithmetic<Arith::Add>(*this, right); }
CValueData CValueData::Sub(const CValueData& right) const { return Arithmetic<Arith::Sub>(*this, right); }
CValueData CValueData::Mul(const CValueData& right) const { return Arithmetic<Arith::Mul>(*this, right); }
CValueData CValueData::Div(const CValueData& right) const { return Arithmetic<Arith::Div>(*this, right); }
CValueData CValueData::Mod(const CValueData& right) const { return Arithmetic<Arith::Mod>(*this, right); }

CValueData CValueData::ShiftLeft(const CValueData& right) const {
    return BitwiseOperation(Bitwise::ShiftLeft, *this, right);
}
CValueData CValueData::ShiftRight(const CValueData& right) const {
    return BitwiseOperation(Bitwise::ShiftRight, *this, right);
}
CValueData CValueData::BitAnd(const CValueData& right) const { return BitwiseOperation(Bitwise::And, *this, right); }
CValueData CValueData::BitOr(const CValueData& right) const { return BitwiseOperation(Bitwise::Or, *this, right); }
CValueData CValueData::BitXor(const CValueData& right) const { return BitwiseOperation(Bitwise::Xor, *this, right); }

bool CValueData::Less(const CValueData& right) const { return Compare(Relation::Less, *this, right); }
bool CValueData::LessEqual(const CValueData& right) const { return Compare(Relation::LessEqual, *this, right); }
bool CValueData::Greater(const CValueData& right) const { return Compare(Relation::Greater, *this, right); }
bool CValueData::GreaterEqual(const CValueData& right) const { return Compare(Relation::GreaterEqual, *this, right); }
bool CValueData::Equal(const CValueData& right) const { return Compare(Relation::Equal, *this, right); }
bool CValueData::NotEqual(const CValueData& right) const { return Compare(Relation::NotEqual, *this, right); }

bool CValueData::LogicalAnd(const CValueData& right) const { return Logical(Logic::And, *this, right); }
bool CValueData::LogicalOr(const CValueData& right) const { return Logical(Logic::Or, *this, right); }

// Works in place; the type never changes, and a value that cannot be negated
// is left as it was.
CValueData CValueData::Negate() {
    switch (type_) {
    case VTYPE_CHAR:
    case VTYPE_BYTE:
    case VTYPE_SHORT:
    case VTYPE_WORD:
    case VTYPE_INT:
    case VTYPE_LONG:
    case VTYPE_DWORD: *this = NarrowedInteger(type_, 0u - WidenedBits(*this, type_)); break;
    case VTYPE_FLOAT: payload_.f = -payload_.f; break;
    case VTYPE_DOUBLE: payload_.x = -payload_.x; break;
    case VTYPE_BOOL: payload_.boolean = payload_.boolean == 0 ? 1 : 0; break;
    case VTYPE_FRACTION: payload_.fraction = FractionNegate(payload_.fraction); break;
    default: RaiseValueError(kNegateSite);
    }
    return *this;
}

CValueData CValueData::Plus() const {
    if (!IsNumericType(type_)) RaiseValueError(kPlusSite);
    return *this;
}
