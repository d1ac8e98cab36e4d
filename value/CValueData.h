#pragma once

#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "base/CIString.h"
#include "value/CFraction.h"
#include "value/TypeCode.h"

// The one run-time value: a type code and a payload of that type. Copies are
// always deep (strings included). Unsupported conversions and operations
// raise CTextError ("*kestrak error : ival(<site>)").
class CValueData final {
public:
    CValueData() = default;   // code 0, no payload
    // Values are copied everywhere a line's parts are worked out or run: a
    // copy without a string is written where the compiler can see it.
    CValueData(const CValueData& other) : type_(other.type_), payload_(other.payload_) {
        if (other.string_) [[unlikely]] CopyStringOf(other);
    }
    // A moved-from value is left empty (code 0).
    CValueData(CValueData&& other) noexcept
        : type_(std::exchange(other.type_, VTYPE_NONE)), payload_(other.payload_), string_(std::move(other.string_)) {}
    CValueData& operator=(const CValueData& other) {
        if (string_ || other.string_) [[unlikely]] return AssignWithString(other);
        type_ = other.type_;
        payload_ = other.payload_;
        return *this;
    }
    CValueData& operator=(CValueData&& other) noexcept {
        type_ = std::exchange(other.type_, VTYPE_NONE);
        payload_ = other.payload_;
        string_ = std::move(other.string_);
        return *this;
    }
    // Not virtual: nothing derives from a value, and every variable, literal
    // and array element holds one, so a table pointer would cost each of them
    // eight bytes.
    ~CValueData() = default;

    static CValueData Char(int8_t v);
    static CValueData Byte(uint8_t v);
    static CValueData Short(int16_t v);
    static CValueData Word(uint16_t v);
    // Every literal and every integer operation makes one of these, so they
    // are written where the compiler can see them.
    static CValueData Int(int32_t v) { return CValueData(VTYPE_INT, v); }
    static CValueData Long(int32_t v) { return CValueData(VTYPE_LONG, v); }
    static CValueData Dword(uint32_t v);
    static CValueData Float(float v);
    static CValueData Double(double v) {
        CValueData value;
        value.type_ = VTYPE_DOUBLE;
        value.payload_.x = v;
        return value;
    }
    static CValueData Bool(bool v);
    static CValueData Fraction(CFraction v);   // stored as given
    static CValueData String(const CIString& v);
    static CValueData String(std::string_view bytes);
    static CValueData String(const char* text);   // up to the first 0 byte
    // The zero of a type: 0, false, 0/1 or the empty text; code 0 and unknown
    // codes give the empty value.
    static CValueData ZeroOf(uint32_t code);

    TypeCode Type() const { return type_; }
    bool IsEmpty() const { return type_ == VTYPE_NONE; }

    // Takes the source's type and a deep copy of its payload.
    void Assign(const CValueData& source) { *this = source; }
    // Keeps this value's type (adopting the source's when empty) and converts.
    // A conversion that raises leaves this value unchanged.
    void Store(const CValueData& source);
    // Empty again (code 0), as a value made by the default constructor.
    void Clear() {
        type_ = VTYPE_NONE;
        SetPayloadBits(0);
        string_.reset();
    }

    int8_t AsChar() const;
    uint8_t AsByte() const;
    int16_t AsShort() const;
    uint16_t AsWord() const;
    // Most values are 32-bit signed integers, read here without a call.
    int32_t AsInt() const { return HoldsInt32() ? payload_.i : IntegerBits(kAsIntSite); }
    int32_t AsLong() const { return HoldsInt32() ? payload_.i : IntegerBits(kAsLongSite); }
    uint32_t AsDword() const;
    float AsFloat() const;
    double AsDouble() const;
    bool AsBool() const;
    CFraction AsFraction() const;
    CIString AsString() const;
    // The string payload itself; only valid for string values.
    const CIString& StringRef() const;
    // This value converted with the As* conversion of the given type (AsInt
    // for int, AsLong for long, ...); code 0 and unknown codes give the
    // empty value.
    CValueData ConvertTo(uint32_t code) const;

    // Copies the payload bits into out (1, 2, 4 or 8 bytes; a string gives the
    // address of its characters). False for code 0 and fractions.
    bool GetRaw(unsigned char out[8]) const;

    // Arithmetic in CommonType(this, right).
    CValueData Add(const CValueData& right) const;
    CValueData Sub(const CValueData& right) const;
    CValueData Mul(const CValueData& right) const;
    CValueData Div(const CValueData& right) const;
    CValueData Mod(const CValueData& right) const;
    CValueData ShiftLeft(const CValueData& right) const;
    CValueData ShiftRight(const CValueData& right) const;
    CValueData BitAnd(const CValueData& right) const;
    CValueData BitOr(const CValueData& right) const;
    CValueData BitXor(const CValueData& right) const;
    bool Less(const CValueData& right) const;
    bool LessEqual(const CValueData& right) const;
    bool Greater(const CValueData& right) const;
    bool GreaterEqual(const CValueData& right) const;
    bool Equal(const CValueData& right) const;
    bool NotEqual(const CValueData& right) const;
    bool LogicalAnd(const CValueData& right) const;
    bool LogicalOr(const CValueData& right) const;
    // Negates in place (the type does not change) and returns a copy.
    CValueData Negate();
    CValueData Plus() const;

    // Significant digits of a floating value's text: "%g"'s six, and the
    // most a double needs to be read back exactly.
    static constexpr int kDefaultDigits = 6;
    static constexpr int kMaxDigits = 17;

    // Text forms; radix is 2, 8, 10 or 16 (any other radix gives the decimal
    // form); floating values show digits significant digits (1 to kMaxDigits)
    // whatever the radix. The whole text, however long.
    std::string Format(int radix, int digits = kDefaultDigits) const;
    std::string FormatDec() const { return Format(10); }
    std::string FormatOct() const { return Format(8); }
    std::string FormatHex() const { return Format(16); }
    std::string FormatBin() const { return Format(2); }

private:
    // The slow halves of a copy: the string's deep copy.
    void CopyStringOf(const CValueData& other);
    CValueData& AssignWithString(const CValueData& other);

    // Raising sites of the conversions read in the header.
    static constexpr int kAsIntSite = 1864;
    static constexpr int kAsLongSite = 1884;

    CValueData(TypeCode type, int32_t v) : type_(type) { SetPayloadBits(static_cast<uint32_t>(v)); }
    // Writes all eight bytes of the payload in one store, the unused ones
    // zero. Values are copied as their eight bytes, and a copy that reads a
    // payload just written narrower waits for the store to drain first: on
    // every literal and every result of an operator.
    void SetPayloadBits(uint64_t bits) { payload_ = std::bit_cast<Payload>(bits); }
    bool HoldsInt32() const { return type_ == VTYPE_INT || type_ == VTYPE_LONG; }

    // The stored number truncated to 32 signed bits, as AsChar to AsLong
    // read it before narrowing; raises with the given site for code 0 and
    // strings.
    int32_t IntegerBits(int site) const;

    TypeCode type_ = VTYPE_NONE;
    union Payload {
        int8_t c;
        uint8_t b;
        int16_t s;
        uint16_t w;
        int32_t i;
        uint32_t d;
        float f;
        double x;
        uint8_t boolean;
        CFraction fraction;
        Payload() : x(0) {}
    } payload_;
    static_assert(sizeof(Payload) == sizeof(uint64_t), "a payload is copied as eight bytes");
    std::unique_ptr<CIString> string_;   // only for VTYPE_STRING
};
