#include "value/CValueData.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

#include "value/CTextError.h"

namespace {

// Raising sites of the conversions; users see these numbers, so they never change.
constexpr int kAsCharSite = 1784;
constexpr int kAsByteSite = 1804;
constexpr int kAsShortSite = 1824;
constexpr int kAsWordSite = 1844;
constexpr int kAsDwordSite = 1904;
constexpr int kAsFloatSite = 1924;
constexpr int kAsDoubleSite = 1944;
constexpr int kAsBoolSite = 1964;
constexpr int kAsFractionSite = 1990;
constexpr int kAsStringSite = 2002;

// The integer indefinite value: what a floating value that has no 32-bit
// integer reading (NaN, or a truncation outside the range) converts to.
constexpr int32_t kIndefinite = std::numeric_limits<int32_t>::min();

// Truncates toward zero. The range test is written out because converting an
// out-of-range double to an integer type is undefined in C++.
int32_t TruncateToInt32(double v) {
    if (!(v > -2147483649.0 && v < 2147483648.0)) return kIndefinite;
    return static_cast<int32_t>(v);
}

// Truncates toward zero and wraps the result to 32 bits, so -1.5 gives
// 4294967295. Values whose truncation lies outside -2^31 .. 2^32 - 1, and
// NaN, give the indefinite pattern 0x80000000.
uint32_t TruncateToUint32(double v) {
    if (!(v > -2147483649.0 && v < 4294967296.0)) return static_cast<uint32_t>(kIndefinite);
    return static_cast<uint32_t>(static_cast<int64_t>(v));
}

// Rounds to single precision; magnitudes that round past the largest float
// become infinite (the conversion itself would be undefined for them).
float NarrowToFloat(double v) {
    constexpr double kOverflowThreshold = 340282356779733661637539395458142568448.0;   // 2^128 - 2^103
    if (std::fabs(v) >= kOverflowThreshold) {
        return std::signbit(v) ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(v);
}

}  // namespace

void CValueData::CopyStringOf(const CValueData& other) { string_ = std::make_unique<CIString>(*other.string_); }

CValueData& CValueData::AssignWithString(const CValueData& other) {
    CValueData copy(other);
    return *this = std::move(copy);
}

CValueData CValueData::Char(int8_t v) {
    CValueData value;
    value.type_ = VTYPE_CHAR;
    value.SetPayloadBits(static_cast<uint8_t>(v));
    return value;
}

CValueData CValueData::Byte(uint8_t v) {
    CValueData value;
    value.type_ = VTYPE_BYTE;
    value.SetPayloadBits(v);
    return value;
}

CValueData CValueData::Short(int16_t v) {
    CValueData value;
    value.type_ = VTYPE_SHORT;
    value.SetPayloadBits(static_cast<uint16_t>(v));
    return value;
}

CValueData CValueData::Word(uint16_t v) {
    CValueData value;
    value.type_ = VTYPE_WORD;
    value.SetPayloadBits(v);
    return value;
}

CValueData CValueData::Dword(uint32_t v) {
    CValueData value;
    value.type_ = VTYPE_DWORD;
    value.SetPayloadBits(v);
    return value;
}

CValueData CValueData::Float(float v) {
    CValueData value;
    value.type_ = VTYPE_FLOAT;
    value.SetPayloadBits(std::bit_cast<uint32_t>(v));
    return value;
}

CValueData CValueData::Bool(bool v) {
    CValueData value;
    value.type_ = VTYPE_BOOL;
    value.SetPayloadBits(v ? 1u : 0u);
    return value;
}

CValueData CValueData::Fraction(CFraction v) {
    CValueData value;
    value.type_ = VTYPE_FRACTION;
    value.SetPayloadBits(std::bit_cast<uint64_t>(v));
    return value;
}

CValueData CValueData::String(const CIString& v) {
    CValueData value;
    value.type_ = VTYPE_STRING;
    value.string_ = std::make_unique<CIString>(v);
    return value;
}

CValueData CValueData::String(std::string_view bytes) { return String(CIString(bytes)); }

CValueData CValueData::String(const char* text) { return String(CIString(text)); }

CValueData CValueData::ZeroOf(uint32_t code) {
    switch (code) {
    case VTYPE_CHAR: return Char(0);
    case VTYPE_BYTE: return Byte(0);
    case VTYPE_SHORT: return Short(0);
    case VTYPE_WORD: return Word(0);
    case VTYPE_INT: return Int(0);
    case VTYPE_LONG: return Long(0);
    case VTYPE_DWORD: return Dword(0);
    case VTYPE_FLOAT: return Float(0);
    case VTYPE_DOUBLE: return Double(0);
    case VTYPE_BOOL: return Bool(false);
    case VTYPE_FRACTION: return Fraction(CFraction::Raw(0, 1));
    case VTYPE_STRING: return String(CIString());
    default: return CValueData();
    }
}

void CValueData::Store(const CValueData& source) {
    const uint32_t target = IsEmpty() ? source.type_ : type_;
    if (target == VTYPE_NONE) return;   // empty into empty: nothing to convert
    *this = source.ConvertTo(target);
}

CValueData CValueData::ConvertTo(uint32_t code) const {
    switch (code) {
    case VTYPE_CHAR: return Char(AsChar());
    case VTYPE_BYTE: return Byte(AsByte());
    case VTYPE_SHORT: return Short(AsShort());
    case VTYPE_WORD: return Word(AsWord());
    case VTYPE_INT: return Int(AsInt());
    case VTYPE_LONG: return Long(AsLong());
    case VTYPE_DWORD: return Dword(AsDword());
    case VTYPE_FLOAT: return Float(AsFloat());
    case VTYPE_DOUBLE: return Double(AsDouble());
    case VTYPE_BOOL: return Bool(AsBool());
    case VTYPE_FRACTION: return Fraction(AsFraction());
    case VTYPE_STRING: return String(AsString());
    default: return CValueData();
    }
}

int32_t CValueData::IntegerBits(int site) const {
    switch (type_) {
    case VTYPE_CHAR: return payload_.c;
    case VTYPE_BYTE: return payload_.b;
    case VTYPE_SHORT: return payload_.s;
    case VTYPE_WORD: return payload_.w;
    case VTYPE_INT:
    case VTYPE_LONG: return payload_.i;
    case VTYPE_DWORD: return static_cast<int32_t>(payload_.d);
    case VTYPE_FLOAT: return TruncateToInt32(payload_.f);
    case VTYPE_DOUBLE: return TruncateToInt32(payload_.x);
    case VTYPE_BOOL: return payload_.boolean;
    case VTYPE_FRACTION: return TruncateToInt32(payload_.fraction.ToDouble());
    default: RaiseValueError(site);
    }
}

int8_t CValueData::AsChar() const { return static_cast<int8_t>(IntegerBits(kAsCharSite)); }

uint8_t CValueData::AsByte() const { return static_cast<uint8_t>(IntegerBits(kAsByteSite)); }

int16_t CValueData::AsShort() const { return static_cast<int16_t>(IntegerBits(kAsShortSite)); }

uint16_t CValueData::AsWord() const { return static_cast<uint16_t>(IntegerBits(kAsWordSite)); }

uint32_t CValueData::AsDword() const {
    switch (type_) {
    case VTYPE_FLOAT: return TruncateToUint32(payload_.f);
    case VTYPE_DOUBLE: return TruncateToUint32(payload_.x);
    case VTYPE_FRACTION: return TruncateToUint32(payload_.fraction.ToDouble());
    default: return static_cast<uint32_t>(IntegerBits(kAsDwordSite));
    }
}

float CValueData::AsFloat() const {
    switch (type_) {
    case VTYPE_DWORD: return static_cast<float>(payload_.d);
    case VTYPE_FLOAT: return payload_.f;
    case VTYPE_DOUBLE: return NarrowToFloat(payload_.x);
    case VTYPE_FRACTION: return NarrowToFloat(payload_.fraction.ToDouble());
    default: return static_cast<float>(IntegerBits(kAsFloatSite));
    }
}

double CValueData::AsDouble() const {
    switch (type_) {
    case VTYPE_DWORD: return payload_.d;
    case VTYPE_FLOAT: return payload_.f;
    case VTYPE_DOUBLE: return payload_.x;
    case VTYPE_FRACTION: return payload_.fraction.ToDouble();
    default: return IntegerBits(kAsDoubleSite);
    }
}

bool CValueData::AsBool() const {
    switch (type_) {
    case VTYPE_FLOAT: return payload_.f != 0.0f;
    case VTYPE_DOUBLE: return payload_.x != 0.0;
    case VTYPE_FRACTION: return payload_.fraction.num != 0;
    default: return IntegerBits(kAsBoolSite) != 0;
    }
}

CFraction CValueData::AsFraction() const {
    switch (type_) {
    case VTYPE_FLOAT: return FractionFromDouble(payload_.f);
    case VTYPE_DOUBLE: return FractionFromDouble(payload_.x);
    case VTYPE_FRACTION: return payload_.fraction;
    default: return CFraction(IntegerBits(kAsFractionSite), 1);
    }
}

CIString CValueData::AsString() const {
    if (type_ != VTYPE_STRING) RaiseValueError(kAsStringSite);
    return *string_;
}

const CIString& CValueData::StringRef() const {
    if (type_ != VTYPE_STRING) RaiseValueError(kAsStringSite);
    return *string_;
}

bool CValueData::GetRaw(unsigned char out[8]) const {
    switch (type_) {
    case VTYPE_CHAR:
    case VTYPE_BYTE:
    case VTYPE_BOOL: std::memcpy(out, &payload_.b, 1); return true;
    case VTYPE_SHORT:
    case VTYPE_WORD: std::memcpy(out, &payload_.w, 2); return true;
    case VTYPE_INT:
    case VTYPE_LONG:
    case VTYPE_DWORD:
    case VTYPE_FLOAT: std::memcpy(out, &payload_.d, 4); return true;
    case VTYPE_DOUBLE: std::memcpy(out, &payload_.x, 8); return true;
    case VTYPE_STRING: {
        const char* text = string_->Text();
        static_assert(sizeof text <= 8, "an address must fit the raw area");
        std::memcpy(out, &text, sizeof text);
        return true;
    }
    default: return false;
    }
}
