#pragma once

#include <cstdint>
#include <memory_resource>
#include <span>
#include <vector>

#include "engine/items/CExpItem.h"

// A bracket list «[e1][e2]…»: the sizes of an array variable or the
// subscripts of an element.
class CExpBracketList final : public CExpItem {
public:
    // Its members are plain values, pointers and storage in the line arena.
    static constexpr bool kNothingToRelease = true;

    explicit CExpBracketList(std::pmr::memory_resource* storage)
        : CExpItem(EXP_BRACKET_LIST), groups_(storage), values_(storage) {}

    // bracketlist -> '[' expression ']' { '[' expression ']' }
    bool Parse(CExpSource& source) override;
    std::string Text() const override;
    // Evaluates every expression, keeping its value converted to int; the
    // context's value is left holding the last one.
    bool Execute(CExpContext& context) override;
    size_t ChildCount() const override { return groups_.size(); }
    CExpItem* Child(size_t i) const override { return groups_[i]; }

    // Appends the next expression, left to right.
    void Add(CExpItem* group);
    // The values of the last execution, converted to int.
    std::span<const int32_t> Values() const { return values_; }
    // The product of the values, 1 for none. It saturates at UINT64_MAX
    // instead of wrapping, so a huge array can never look small; only
    // meaningful for positive values.
    uint64_t Product() const;

private:
    bool ParseGroup(CExpSource& source);

    std::pmr::vector<CExpItem*> groups_;
    std::pmr::vector<int32_t> values_;
};
