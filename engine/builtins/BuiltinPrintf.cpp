// Formatted output. The format is read here, conversion by conversion, and
// each argument is checked against its conversion by the type it evaluated
// to and formatted by the C library for exactly that conversion; nothing is
// passed through an untyped argument list. The whole output is built before
// anything is written, so a call that fails prints nothing.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "engine/builtins/BuiltinSupport.h"
#include "engine/builtins/Builtins.h"
#include "platform/StandardStreams.h"
#include "value/TypeCode.h"

namespace {

// The widest field width or precision a conversion may ask for; a larger one
// (%2000000000d) would only produce gigabytes of padding.
constexpr long long kMaxField = 4096;

enum class ArgKind { Integer, Character, Floating, Text };

// ORDER: searched in this order. Which length modifiers each conversion
// takes; the integer ones format the 32-bit value widened by its signedness.
struct ConversionRule {
    const char* conversions;
    ArgKind kind;
    const char* lengths[8];
};
constexpr ConversionRule kRules[] = {
    {"di", ArgKind::Integer, {"", "hh", "h", "l", "ll", "j", "z", "t"}},
    {"ouxX", ArgKind::Integer, {"", "hh", "h", "l", "ll", "j", "z", "t"}},
    {"c", ArgKind::Character, {""}},
    {"eEfFgGaA", ArgKind::Floating, {"", "l", "L"}},
    {"s", ArgKind::Text, {""}},
};
// Conversions that would write to memory or show an address.
constexpr std::string_view kRefused = "np";
constexpr std::string_view kFlags = "-+ #0";
constexpr std::string_view kLengths[] = {"hh", "ll", "h", "l", "j", "z", "t", "L"};

// One conversion directive as written: %[flags][width][.precision][length]conversion.
struct Directive {
    std::string flags;
    bool widthFromArg = false;
    long long width = -1;       // -1: none
    bool precisionFromArg = false;
    long long precision = -1;   // -1: none
    std::string length;
    char conversion = '\0';     // '\0': the format ended inside the directive
};

const ConversionRule* RuleFor(char conversion) {
    for (const ConversionRule& rule : kRules) {
        if (conversion != '\0' && std::strchr(rule.conversions, conversion) != nullptr) return &rule;
    }
    return nullptr;
}

bool TakesLength(const ConversionRule& rule, const std::string& length) {
    for (const char* allowed : rule.lengths) {
        if (allowed != nullptr && length == allowed) return true;
    }
    return false;
}

bool Fits(ArgKind kind, uint32_t type) {
    switch (kind) {
        case ArgKind::Integer:
        case ArgKind::Character: return IsIntegerType(type) || type == VTYPE_BOOL;
        case ArgKind::Floating: return type == VTYPE_FLOAT || type == VTYPE_DOUBLE;
        case ArgKind::Text: return type == VTYPE_STRING;
    }
    return false;
}

// Decimal digits at pos, saturating just above kMaxField.
long long ReadNumber(std::string_view format, size_t& pos) {
    long long number = 0;
    while (pos < format.size() && format[pos] >= '0' && format[pos] <= '9') {
        number = std::min(number * 10 + (format[pos++] - '0'), kMaxField + 1);
    }
    return number;
}

// Reads the directive after a "%" at pos; pos ends past it.
Directive ReadDirective(std::string_view format, size_t& pos) {
    Directive directive;
    while (pos < format.size() && kFlags.find(format[pos]) != std::string_view::npos) directive.flags += format[pos++];
    if (pos < format.size() && format[pos] == '*') {
        directive.widthFromArg = true;
        ++pos;
    } else if (pos < format.size() && format[pos] >= '0' && format[pos] <= '9') {
        directive.width = ReadNumber(format, pos);
    }
    if (pos < format.size() && format[pos] == '.') {
        ++pos;
        if (pos < format.size() && format[pos] == '*') {
            directive.precisionFromArg = true;
            ++pos;
        } else {
            directive.precision = ReadNumber(format, pos);
        }
    }
    for (std::string_view length : kLengths) {
        if (format.substr(pos, length.size()) == length) {
            directive.length = length;
            pos += length.size();
            break;
        }
    }
    if (pos < format.size()) directive.conversion = format[pos++];
    return directive;
}

template <class T>
std::string FormatOne(const std::string& cFormat, T value) {
    const int size = std::snprintf(nullptr, 0, cFormat.c_str(), value);
    if (size < 0) return {};
    std::string text(static_cast<size_t>(size), '\0');
    std::snprintf(text.data(), text.size() + 1, cFormat.c_str(), value);
    return text;
}

// Walks the format, checking and formatting each conversion in turn.
class CFormatter {
public:
    explicit CFormatter(const CBuiltinCall& call) : call_(call) {}

    // Nothing with the complete output, or why the call fails.
    std::optional<Diag> Run(std::string_view format, std::string& out);

private:
    std::optional<Diag> Convert(Directive& directive, std::string& piece);
    // The next argument, or null when there are no more.
    const CValueData* NextArg() { return next_ < call_.ArgCount() ? &call_.Arg(next_++) : nullptr; }
    // Takes a "*" width or precision from the next argument.
    std::optional<Diag> TakeStar(long long& field);
    static std::string CFormat(const Directive& directive, const char* length);
    std::string FormatValue(const Directive& directive, ArgKind kind, const CValueData& value) const;

    const CBuiltinCall& call_;
    size_t next_ = 1;
};

std::optional<Diag> CFormatter::Run(std::string_view format, std::string& out) {
    for (size_t pos = 0; pos < format.size();) {
        if (format[pos] != '%') {
            out += format[pos++];
            continue;
        }
        const size_t start = pos++;
        Directive directive = ReadDirective(format, pos);
        std::string piece;
        if (directive.conversion == '%') {
            piece = "%";
        } else if (kRefused.find(directive.conversion) != std::string_view::npos) {
            return Diag::BuiltinBadArgType;
        } else if (RuleFor(directive.conversion) == nullptr) {
            piece = format.substr(start, pos - start);   // no conversion: shown as written
        } else if (const std::optional<Diag> failure = Convert(directive, piece)) {
            return failure;
        }
        if (piece.size() > static_cast<size_t>(INT_MAX) - out.size()) return Diag::BuiltinFailed;
        out += piece;
    }
    return std::nullopt;
}

std::optional<Diag> CFormatter::TakeStar(long long& field) {
    const CValueData* arg = NextArg();
    if (arg == nullptr) return Diag::BuiltinTooFewArgs;
    if (!Fits(ArgKind::Integer, arg->Type())) return Diag::BuiltinBadArgType;
    field = arg->AsInt();
    return std::nullopt;
}

std::optional<Diag> CFormatter::Convert(Directive& directive, std::string& piece) {
    const ConversionRule& rule = *RuleFor(directive.conversion);
    if (!TakesLength(rule, directive.length)) return Diag::BuiltinBadArgType;
    if (directive.widthFromArg) {
        if (const std::optional<Diag> failure = TakeStar(directive.width)) return failure;
        if (directive.width < 0) {   // a negative width asks for left adjustment
            directive.flags += '-';
            directive.width = -directive.width;
        }
    }
    if (directive.precisionFromArg) {
        if (const std::optional<Diag> failure = TakeStar(directive.precision)) return failure;
        if (directive.precision < 0) directive.precision = -1;   // as if none were given
    }
    if (directive.width > kMaxField || directive.precision > kMaxField) return Diag::BuiltinFailed;
    const CValueData* arg = NextArg();
    if (arg == nullptr) return Diag::BuiltinTooFewArgs;
    if (!Fits(rule.kind, arg->Type())) return Diag::BuiltinBadArgType;
    piece = FormatValue(directive, rule.kind, *arg);
    return std::nullopt;
}

std::string CFormatter::CFormat(const Directive& directive, const char* length) {
    std::string text = "%" + directive.flags;
    if (directive.width >= 0) text += std::to_string(directive.width);
    if (directive.precision >= 0) text += "." + std::to_string(directive.precision);
    return text + length + directive.conversion;
}

std::string CFormatter::FormatValue(const Directive& directive, ArgKind kind, const CValueData& value) const {
    switch (kind) {
        case ArgKind::Floating: return FormatOne(CFormat(directive, ""), value.AsDouble());
        case ArgKind::Text: return FormatOne(CFormat(directive, ""), value.AsString().Text());
        case ArgKind::Character: return FormatOne(CFormat(directive, ""), value.AsInt());
        case ArgKind::Integer: break;
    }
    // Integers: a signed type's value is sign-extended, an unsigned one's
    // zero-extended; the C library narrows it again for h and hh. numora's
    // long is 32 bits, as on the platform the language was made on, so "l"
    // formats the 32-bit value (%lu of -1 is 4294967295); "ll", "j", "z" and
    // "t" the value widened to 64 bits.
    const long long wide = IsSignedType(value.Type()) ? static_cast<long long>(value.AsInt())
                                                      : static_cast<long long>(value.AsDword());
    const bool isSigned = directive.conversion == 'd' || directive.conversion == 'i';
    const std::string_view modifier = directive.length;
    if (modifier == "ll" || modifier == "j" || modifier == "z" || modifier == "t") {
        return isSigned ? FormatOne(CFormat(directive, "ll"), wide)
                        : FormatOne(CFormat(directive, "ll"), static_cast<unsigned long long>(wide));
    }
    const char* length = modifier == "l" ? "" : directive.length.c_str();
    return isSigned ? FormatOne(CFormat(directive, length), static_cast<int>(wide))
                    : FormatOne(CFormat(directive, length), static_cast<unsigned>(wide));
}

}  // namespace

namespace builtin {

// Returns the number of bytes written, as an int.
bool Printf(CBuiltinCall& call) {
    if (call.Arg(0).Type() != VTYPE_STRING) return call.Fail(Diag::BuiltinBadArgType);
    for (size_t i = 1; i < call.ArgCount(); ++i) {
        const uint32_t type = call.Arg(i).Type();
        if (type == VTYPE_FRACTION || type == VTYPE_NONE) return call.Fail(Diag::BuiltinBadArgType);
    }
    // The C library reads a format up to its first zero byte.
    const std::string_view format(call.Arg(0).StringRef().Text());
    std::string out;
    if (const std::optional<Diag> failure = CFormatter(call).Run(format, out)) return call.Fail(*failure);
    const size_t written = WriteInterruptibly(stdout, out);
    NoteLineOutput(std::string_view(out).substr(0, written));
    call.Return(CValueData::Int(written == out.size() ? static_cast<int>(out.size()) : -1));
    return true;
}

}  // namespace builtin
