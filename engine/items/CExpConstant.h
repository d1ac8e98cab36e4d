#pragma once

#include "engine/items/CExpItem.h"
#include "value/CValueData.h"

// A literal. Its value was read once, by the lexer, and is kept with the
// line's tokens; the item yields a copy of it each time it runs. The kinds
// of literal differ only in their kind code, which is the major code of
// their lexical faults.
class CExpConstant : public CExpItem {
public:
    CExpConstant(ExpKind kind, const CValueData& value) : CExpItem(kind), value_(&value) {}

    bool Execute(CExpContext& context) override {
        context.value.Assign(*value_);
        return true;
    }
    bool Check(CExpSource&) override { return true; }
    int ValueType() const override { return value_->Type(); }
    std::string Text() const override { return value_->FormatDec(); }
    const CValueData& Value() const { return *value_; }

private:
    const CValueData* value_;
};

template <ExpKind LiteralKind>
class CExpLiteral final : public CExpConstant {
public:
    // Its members are plain values, pointers and storage in the line arena.
    static constexpr bool kNothingToRelease = true;

    explicit CExpLiteral(const CValueData& value) : CExpConstant(LiteralKind, value) {}
};

// A pure part of a line that the parser worked out while reading it: it runs
// as a literal of the value it came to, with the static type of the tree it
// stands for.
class CExpFoldedConst final : public CExpConstant {
public:
    // Its members are plain values, pointers and storage in the line arena.
    static constexpr bool kNothingToRelease = true;

    CExpFoldedConst(const CValueData& value, int staticType, bool constant)
        : CExpConstant(EXP_NUM_CONST, value), staticType_(staticType), constant_(constant) {}

    int ValueType() const override { return staticType_; }
    bool IsConstant() const override { return constant_; }

private:
    int staticType_;
    bool constant_;
};

// The literal an item is, or null when it is another kind of item (or none).
inline const CExpConstant* AsConstant(const CExpItem* item) {
    const bool literal = item != nullptr && item->Kind() >= EXP_NUM_CONST && item->Kind() <= EXP_BOOL_CONST;
    return literal ? static_cast<const CExpConstant*>(item) : nullptr;
}

using CExpNumConst = CExpLiteral<EXP_NUM_CONST>;     // 12, 0x1f, 017, 0b101, 1.5e3
using CExpFraConst = CExpLiteral<EXP_FRA_CONST>;     // 3$4, 1$1$2
using CExpCharConst = CExpLiteral<EXP_CHAR_CONST>;   // 'a'
using CExpStrConst = CExpLiteral<EXP_STR_CONST>;     // "text"
using CExpBoolConst = CExpLiteral<EXP_BOOL_CONST>;   // true, false
