#include "engine/items/CLineArena.h"

#include <algorithm>
#include <cstdint>

namespace {

// Room for the items of every ordinary line.
constexpr size_t kFirstBlock = 64 * 1024;

}  // namespace

void CLineArena::Reset() {
    for (auto it = destructors_.rbegin(); it != destructors_.rend(); ++it) it->destroy(it->object);
    destructors_.clear();
    if (blocks_.size() > 1) blocks_.resize(1);
    if (!blocks_.empty()) {
        next_ = blocks_.front().bytes.get();
        end_ = next_ + blocks_.front().size;
    }
}

void CLineArena::AddBlock(size_t atLeast) {
    const size_t size = std::max({kFirstBlock, atLeast, blocks_.empty() ? 0 : blocks_.back().size * 2});
    blocks_.push_back({std::make_unique_for_overwrite<std::byte[]>(size), size});
    next_ = blocks_.back().bytes.get();
    end_ = next_ + size;
}

void* CLineArena::do_allocate(size_t bytes, size_t alignment) {
    if (void* place = Fit(bytes, alignment)) return place;
    AddBlock(bytes + alignment);
    return Fit(bytes, alignment);
}
