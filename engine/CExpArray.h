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
    bool Execute(CExpContext& context) override;

    // The values of the last execution, converted to int.
    const std::vector<int32_t>& Values() const { return values_; }
    int32_t ValueAt(size_t i) const { return i < values_.size() ? values_[i] : 0; }

private:
    std::vector<int32_t> values_;
};
