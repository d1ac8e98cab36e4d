#pragma once

#include <cstdint>
#include <vector>

#include "engine/CExpItem.h"

// A bracket list «[e1][e2]…»: the sizes of an array variable or the
// subscripts of an element reference.
class CExpArray final : public CExpItem {
public:
    CExpArray() : CExpItem(EXP_ARRAY) {}

    bool Parse(CExpSource& source, const std::string& text) override;
    std::string Text() const override;
    // Evaluates every expression, keeping its value converted to int; the
    // context's value is left holding the last one.
    bool Execute(CExpContext& context) override;

    // The values of the last execution, converted to int.
    const std::vector<int32_t>& Values() const { return values_; }
    int32_t ValueAt(size_t i) const { return i < values_.size() ? values_[i] : 0; }
    // The product of the values, 1 for none. It saturates at UINT64_MAX
    // instead of wrapping, so a huge array can never look small; only
    // meaningful for positive values.
    uint64_t Product() const;

private:
    bool ParseGroup(CExpSource& source, const std::string& text);

    std::vector<int32_t> values_;
};
