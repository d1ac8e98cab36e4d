#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "value/CValueData.h"

// A value that a line changed without a diagnostic, as a compiler warns of
// one: a value stored where its type cannot hold it («int y = 1.5» keeps 1,
// «char c = 300» keeps 44), or an operation on signed integers whose exact
// result does not fit its type («2147483647 + 1»). The values stay what the
// language makes of them; the note only tells. Like a diagnostic, a note is
// a record, which the front end words for a person.
struct CValueNote {
    enum class Kind : uint8_t {
        Declared,   // stored by a declaration's initializer
        Assigned,   // stored into a variable by "=", "++" or "--"
        Element,    // stored into an array element, or by an initializer list
        Wrapped,    // an operation's result wrapped around its type
    };

    Kind kind;
    int position;          // the name stored into, or the operator
    TypeCode type;         // the type that holds the value: the target's, or the operation's
    std::string target;    // what was stored into: "y", "v[3]"; empty for Wrapped
    CValueData given;      // the value stored; for Wrapped the left operand
    CValueData right;      // for Wrapped the right operand (empty for a unary one)
    int code = 0;          // for Wrapped the operator (OP_ADD, OP_MINUS …)
    int64_t exact = 0;     // for Wrapped the result it would have had
    CValueData kept;       // what the target or the operation holds
};

// The notes of one line. It is filled only for a session that will show them
// (a person at a terminal): everywhere else the engine holds a null pointer
// in its place and spends nothing on the checks.
class CValueNoteList {
public:
    // Notes past this many are only counted; a person reads three.
    static constexpr size_t kKept = 8;

    void Clear() {
        notes_.clear();
        more_ = 0;
    }
    // value was stored into the target, which now holds kept: a note when
    // kept lost part of it (a fraction, its range) other than the
    // reinterpretation of an integer's bits in a type of the same width.
    void Stored(CValueNote::Kind kind, int position, std::string_view target, const CValueData& value,
                const CValueData& kept);
    // The operator of the given code made result of left and right (null for
    // a unary one): a note when the operation is done on signed integers
    // and its exact result does not fit them.
    void Operated(int code, int position, const CValueData& left, const CValueData* right, const CValueData& result);

    std::span<const CValueNote> All() const { return notes_; }
    // Notes of the line beyond the kept ones.
    size_t More() const { return more_; }

private:
    void Add(CValueNote note);

    std::vector<CValueNote> notes_;
    size_t more_ = 0;
};

// How a note names an element: «v[3][1]».
std::string ElementName(std::string_view array, std::span<const int32_t> subscripts);

// Whether storing value gave kept with something lost: the fraction of a
// floating value or of a fraction, or a value the target's type cannot
// hold. Rounding to float's precision, a bool's truth and the same bits
// read by a signed or an unsigned type of the same width lose nothing here.
bool LostInStore(const CValueData& value, const CValueData& kept);
