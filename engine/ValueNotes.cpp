#include "engine/ValueNotes.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "engine/lexer/OperatorTable.h"

namespace {

bool IsFractional(TypeCode type) { return type == VTYPE_FLOAT || type == VTYPE_DOUBLE || type == VTYPE_FRACTION; }

// The integer an integer value stands for, unsigned ones without a sign.
int64_t IntegerValue(const CValueData& value) {
    return value.Type() == VTYPE_DWORD ? int64_t{value.AsDword()} : int64_t{value.AsInt()};
}

// The signed integer types, in which an operation can wrap around where C
// would call it an overflow; the unsigned ones wrap by definition.
bool IsSignedInteger(TypeCode type) {
    return type == VTYPE_CHAR || type == VTYPE_SHORT || type == VTYPE_INT || type == VTYPE_LONG;
}

// The result the operation would have had in integers wide enough for it;
// none for an operation that cannot wrap.
std::optional<int64_t> ExactResult(int code, int64_t left, std::optional<int64_t> right) {
    if (!right) return code == OP_MINUS ? std::optional(-left) : std::nullopt;
    switch (code) {
        case OP_ADD: return left + *right;
        case OP_SUB: return left - *right;
        case OP_MUL: return left * *right;
        // Only −2147483648 / −1 wraps; a zero divisor never gets here.
        case OP_DIV: return *right != 0 ? std::optional(left / *right) : std::nullopt;
        default: return std::nullopt;
    }
}

}  // namespace

bool LostInStore(const CValueData& value, const CValueData& kept) {
    const TypeCode from = value.Type();
    const TypeCode to = kept.Type();
    if (IsIntegerType(to)) {
        if (IsIntegerType(from)) return TypeSize(from) != TypeSize(to) && IntegerValue(value) != IntegerValue(kept);
        // NaN is equal to nothing, so it is lost too.
        return IsFractional(from) && !(value.AsDouble() == static_cast<double>(IntegerValue(kept)));
    }
    if (to == VTYPE_FLOAT) {
        return (from == VTYPE_DOUBLE || from == VTYPE_FRACTION) && std::isfinite(value.AsDouble()) &&
               std::isinf(kept.AsFloat());
    }
    return false;
}

std::string ElementName(std::string_view array, std::span<const int32_t> subscripts) {
    std::string name(array);
    for (const int32_t subscript : subscripts) name += "[" + std::to_string(subscript) + "]";
    return name;
}

void CValueNoteList::Stored(CValueNote::Kind kind, int position, std::string_view target, const CValueData& value,
                            const CValueData& kept) {
    if (!LostInStore(value, kept)) return;
    Add({kind, position, kept.Type(), std::string(target), value, {}, 0, 0, kept});
}

void CValueNoteList::Operated(int code, int position, const CValueData& left, const CValueData* right,
                              const CValueData& result) {
    const TypeCode type = result.Type();
    if (!IsSignedInteger(type) || !IsSignedInteger(left.Type())) return;
    if (right != nullptr && !IsSignedInteger(right->Type())) return;
    const std::optional<int64_t> exact =
        ExactResult(code, left.AsInt(), right != nullptr ? std::optional<int64_t>(right->AsInt()) : std::nullopt);
    if (!exact || *exact == result.AsInt()) return;
    Add({CValueNote::Kind::Wrapped, position, type, {}, left, right != nullptr ? *right : CValueData(), code, *exact,
         result});
}

// A part of a line may be worked out twice (while it is read, and again
// when a group is read a second time or the line runs): the same note at
// the same place is one note.
void CValueNoteList::Add(CValueNote note) {
    const bool known = std::any_of(notes_.begin(), notes_.end(), [&](const CValueNote& other) {
        return other.kind == note.kind && other.position == note.position && other.target == note.target;
    });
    if (known) return;
    if (notes_.size() == kKept) {
        ++more_;
        return;
    }
    notes_.push_back(std::move(note));
}
