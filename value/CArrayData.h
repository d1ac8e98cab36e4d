#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "value/CValueData.h"

// The elements of one declared array: a fixed element type, fixed dimension
// sizes and one row-major block. Elements go in and out as CValueData; bounds
// are the callers' business.
class CArrayData {
public:
    // Throws std::bad_alloc (or CIMemoryError) when the element count does
    // not fit; never builds a smaller block than asked for.
    CArrayData(uint32_t elementType, std::vector<int32_t> dims);
    virtual ~CArrayData() = default;

    uint32_t ElementType() const { return type_; }
    const std::vector<int32_t>& Dims() const { return dims_; }

    // Converts the value to the element type (raising CTextError leaves the
    // array unchanged). No index: nothing stored. Callers check the indices;
    // a position outside the block still throws CIRangeError here.
    void SetElement(std::span<const int32_t> indices, const CValueData& value);
    // No index: the int 0.
    CValueData GetElement(std::span<const int32_t> indices) const;
    // The element itself, or null for indices outside the array.
    const CValueData* ElementAt(std::span<const int32_t> indices) const;

private:
    size_t LinearPosition(std::span<const int32_t> indices) const;

    uint32_t type_;
    std::vector<int32_t> dims_;
    std::vector<CValueData> elements_;   // each holds a value of type_
};
