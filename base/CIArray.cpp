#include "base/CIArray.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "base/CIError.h"
#include "base/Interruption.h"

namespace {

// The one place where the containers allocate: a failed allocation, or a size
// no allocation can satisfy, becomes the library's own memory error. The
// block is cleared, a large one piece by piece so that Ctrl-C can stop it.
std::unique_ptr<char[]> AllocateBlock(int capacity) {
    if (capacity < 0) throw CIMemoryError();
    std::unique_ptr<char[]> block;
    try {
        block = std::make_unique_for_overwrite<char[]>(static_cast<size_t>(capacity));
    } catch (const std::bad_alloc&) {
        throw CIMemoryError();
    }
    ClearBytes(block.get(), static_cast<size_t>(capacity));
    return block;
}

}  // namespace

CIArray::CIArray() = default;

CIArray::CIArray(int capacity) : capacity_(capacity), buffer_(AllocateBlock(capacity)) {}

CIArray::CIArray(const CIArray& other)
    : capacity_(other.capacity_), buffer_(AllocateBlock(other.capacity_)) {
    if (capacity_ > 0) CopyBytes(buffer_.get(), other.buffer_.get(), static_cast<size_t>(capacity_));
}

CIArray& CIArray::operator=(const CIArray& other) {
    Assign(other);
    return *this;
}

void CIArray::Resize(int newCapacity) {
    std::unique_ptr<char[]> block = AllocateBlock(newCapacity);
    const int kept = std::min(capacity_, newCapacity);
    if (kept > 0) CopyBytes(block.get(), buffer_.get(), static_cast<size_t>(kept));
    buffer_ = std::move(block);
    capacity_ = newCapacity;
}

void CIArray::Attach(std::unique_ptr<char[]> block, int capacity) {
    buffer_ = std::move(block);
    capacity_ = buffer_ ? std::max(capacity, 0) : 0;
}

char& CIArray::Element(int index) {
    if (static_cast<unsigned>(index) >= static_cast<unsigned>(capacity_)) {
        throw CIRangeError(CIError::kArrayIndex, index);
    }
    return buffer_[index];
}

void CIArray::Assign(const CIArray& other) {
    if (this == &other) return;
    std::unique_ptr<char[]> block = AllocateBlock(other.capacity_);
    if (other.capacity_ > 0) CopyBytes(block.get(), other.buffer_.get(), static_cast<size_t>(other.capacity_));
    buffer_ = std::move(block);
    capacity_ = other.capacity_;
}

bool CIArray::Equals(const CIArray& other) const {
    if (capacity_ != other.capacity_) return false;
    return capacity_ == 0 || std::memcmp(buffer_.get(), other.buffer_.get(), capacity_) == 0;
}
