#pragma once

#include "engine/CExpItem.h"
#include "value/CValueData.h"

// The base of the literal items. A literal keeps the value its text denotes
// and yields a copy of it each time it runs; only the reading of the text
// differs from one kind of literal to the next.
class CExpConstant : public CExpItem {
public:
    bool Execute(CExpContext& context) override {
        context.value.Assign(value_);
        return true;
    }
    bool Check(CExpSource&) override { return true; }
    int ValueType() const override { return value_.Type(); }
    std::string Text() const override { return value_.FormatDec(); }
    const CValueData& Value() const { return value_; }

protected:
    explicit CExpConstant(ExpKind kind) : CExpItem(kind) {}

    CValueData value_;
};
