#include "value/CArrayData.h"

#include <algorithm>
#include <limits>
#include <new>

#include "base/CIError.h"

namespace {

// The element count of the dimensions. The count and the block's byte size
// (at the element type's own width) must fit 32 bits; a count that does not
// fit, or a negative dimension, fails like an oversized block instead of
// wrapping to a smaller one.
size_t ElementCount(uint32_t elementType, const std::vector<int32_t>& dims) {
    if (dims.empty()) return 0;
    if (std::find(dims.begin(), dims.end(), 0) != dims.end()) return 0;
    constexpr uint64_t kLimit = std::numeric_limits<uint32_t>::max();
    uint64_t count = 1;
    for (const int32_t size : dims) {
        if (size < 0) throw std::bad_alloc();
        count *= static_cast<uint64_t>(size);
        if (count > kLimit) throw std::bad_alloc();
    }
    if (count * static_cast<uint64_t>(TypeSize(elementType)) > kLimit) throw std::bad_alloc();
    return static_cast<size_t>(count);
}

bool HasBlock(uint32_t elementType) { return elementType >= VTYPE_CHAR && elementType <= VTYPE_STRING; }

}  // namespace

// Element types outside 1 to 12 get no block. Scalars start cleared, fractions
// at 0/1 and strings empty, so no element is ever read uninitialised.
CArrayData::CArrayData(uint32_t elementType, std::vector<int32_t> dims)
    : type_(elementType), dims_(std::move(dims)) {
    const size_t count = ElementCount(type_, dims_);
    if (HasBlock(type_)) elements_.assign(count, CValueData::ZeroOf(type_));
}

void CArrayData::SetElement(std::span<const int32_t> indices, const CValueData& value) {
    if (indices.empty() || !HasBlock(type_)) return;
    CValueData converted = value.ConvertTo(type_);
    elements_[LinearPosition(indices)] = std::move(converted);
}

CValueData CArrayData::GetElement(std::span<const int32_t> indices) const {
    if (indices.empty()) return CValueData::Int(0);
    if (!HasBlock(type_)) return CValueData();
    return elements_[LinearPosition(indices)];
}

const CValueData* CArrayData::ElementAt(std::span<const int32_t> indices) const {
    if (indices.size() != dims_.size() || !HasBlock(type_)) return nullptr;
    for (size_t i = 0; i < indices.size(); ++i) {
        if (static_cast<uint32_t>(indices[i]) >= static_cast<uint32_t>(dims_[i])) return nullptr;
    }
    return &elements_[LinearPosition(indices)];
}

// Row-major: p = i0, then p = p * dims[j] + ij for each following index; the
// first dimension's size does not enter. The callers check each index against
// its dimension; a position outside the block (or more indices than
// dimensions) still fails here rather than touching memory it does not own.
// The sum is taken modulo 2^64 so that no index list can overflow.
size_t CArrayData::LinearPosition(std::span<const int32_t> indices) const {
    if (indices.size() > dims_.size()) throw CIRangeError(CIError::kArrayIndex, static_cast<int64_t>(indices.size()));
    uint64_t position = static_cast<uint64_t>(int64_t{indices[0]});
    for (size_t j = 1; j < indices.size(); ++j) {
        position = position * static_cast<uint64_t>(int64_t{dims_[j]}) + static_cast<uint64_t>(int64_t{indices[j]});
    }
    if (position >= elements_.size()) throw CIRangeError(CIError::kArrayIndex, static_cast<int64_t>(position));
    return static_cast<size_t>(position);
}
