#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <memory_resource>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "value/CValueData.h"

// A class whose objects hold nothing to release (plain values, pointers,
// and storage taken from the arena itself) says so with
// «static constexpr bool kNothingToRelease = true;»: the arena keeps no
// destructor record for its objects.
template <class T>
concept ReleasesNothing = T::kNothingToRelease;

// The storage of one line's items. Allocation is a pointer bump; the whole
// line's storage goes in one Reset, which also destroys the objects made
// here, newest first. The first block is kept from line to line, so the
// lines of a session allocate nothing once it has grown to their size; the
// larger blocks a huge line needed are given back.
class CLineArena final : public std::pmr::memory_resource {
public:
    CLineArena() = default;
    CLineArena(const CLineArena&) = delete;
    CLineArena& operator=(const CLineArena&) = delete;
    ~CLineArena() override { Reset(); }

    template <class T, class... Args>
    T* Make(Args&&... args) {
        // Room for the destructor first, so that a failure to record it
        // cannot leave a made object behind.
        constexpr bool kRecorded = !std::is_trivially_destructible_v<T> && !ReleasesNothing<T>;
        if constexpr (kRecorded) {
            if (destructors_.size() == destructors_.capacity()) destructors_.reserve(destructors_.size() * 2 + 64);
        }
        T* object = new (Bump(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
        if constexpr (kRecorded) {
            destructors_.push_back({object, [](void* p) { static_cast<T*>(p)->~T(); }});
        }
        return object;
    }

    // A copy of value. Only a string holds something to give back, so only
    // a string's copy costs a destructor record: folded lines make one
    // value each.
    CValueData* CopyOf(const CValueData& value) {
        if (value.Type() == VTYPE_STRING) return Make<CValueData>(value);
        return new (Bump(sizeof(CValueData), alignof(CValueData))) CValueData(value);
    }

    void Reset();

private:
    struct Block {
        std::unique_ptr<std::byte[]> bytes;
        size_t size;
    };
    struct Destructor {
        void* object;
        void (*destroy)(void*);
    };

    // The place for bytes at the alignment in the current block, taken; null
    // when the block has no room (or there is none yet).
    void* Fit(size_t bytes, size_t alignment) {
        const auto at = reinterpret_cast<uintptr_t>(next_);
        const uintptr_t place = (at + alignment - 1) & ~(uintptr_t{alignment} - 1);
        if (next_ == nullptr || place + bytes > reinterpret_cast<uintptr_t>(end_)) return nullptr;
        next_ = reinterpret_cast<std::byte*>(place + bytes);
        return reinterpret_cast<void*>(place);
    }
    // Items are made many times a line: without the virtual call of allocate.
    void* Bump(size_t bytes, size_t alignment) {
        void* place = Fit(bytes, alignment);
        return place != nullptr ? place : do_allocate(bytes, alignment);
    }
    void* do_allocate(size_t bytes, size_t alignment) override;
    void do_deallocate(void*, size_t, size_t) override {}
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }
    void AddBlock(size_t atLeast);

    std::vector<Block> blocks_;
    std::byte* next_ = nullptr;
    std::byte* end_ = nullptr;
    std::vector<Destructor> destructors_;
};
