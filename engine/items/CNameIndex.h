#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/items/CExpItem.h"

// Items by the names they answer to (the session's persistent names, the
// declarators of a long declaration): an open-addressing table. A lookup
// reads one slot and the item it names (which the caller reads next anyway).
class CNameIndex {
public:
    CExpItem* Find(std::string_view name) const {
        if (slots_.empty()) return nullptr;
        return slots_[SlotOf(name, Hash(name))].Item();
    }

    // Files the item under its own name, which must live as long as the
    // index; an item already filed under that name stays.
    void Add(CExpItem* item) {
        if ((count_ + 1) * 2 > slots_.size()) Grow();
        const std::string_view name = item->Name();
        const uint32_t hash = Hash(name);
        Slot& slot = slots_[SlotOf(name, hash)];
        if (!slot.IsEmpty()) return;
        slot = Slot(item, hash);
        ++count_;
    }

    // Whether the table has outgrown the processor's caches, so that a
    // lookup waits for memory and fetching ahead of it pays.
    bool IsLarge() const { return slots_.size() >= kLargeTable; }
    // The two steps of fetching a lookup ahead of time, a line apart: first
    // the name's slot comes into the cache (the answer is what the second
    // step takes), then, the slot being there, the item it holds. A guess
    // that misses costs a fetch, never a result.
    uint32_t PrefetchSlot(std::string_view name) const {
        const uint32_t hash = Hash(name);
        if (!slots_.empty()) Prefetch(&slots_[hash & Mask()]);
        return hash;
    }
    void PrefetchItem(uint32_t hash) const {
        if (slots_.empty()) return;
        // The first slot of the name's run with its tag, as Find would come
        // to it, without reading the items on the way.
        for (size_t i = hash & Mask();; i = (i + 1) & Mask()) {
            const Slot slot = slots_[i];
            if (slot.IsEmpty()) return;
            if (slot.Tag() != TagOf(hash)) continue;
            // A lookup reads an item's first 96 bytes (a variable's name,
            // type and value), which start anywhere in a cache line.
            const auto* item = reinterpret_cast<const char*>(slot.Item());
            Prefetch(item);
            Prefetch(item + 48);
            Prefetch(item + 95);
            return;
        }
    }

    void Clear() {
        slots_.clear();
        count_ = 0;
    }

private:
    // The item's address with sixteen bits of its name's hash above it, in
    // the bits a Linux address on x86-64 and AArch64 leaves zero (the kernel
    // hands out higher ones only to a program that asks). Half the size of a
    // hash beside a pointer: among a hundred thousand names the table takes
    // 2 MB instead of 4, and a lookup there is a tenth faster.
    class Slot {
    public:
        Slot() = default;
        Slot(CExpItem* item, uint32_t hash)
            : bits_(reinterpret_cast<uintptr_t>(item) | (uintptr_t{TagOf(hash)} << kTagShift)) {}
        bool IsEmpty() const { return bits_ == 0; }
        uint32_t Tag() const { return static_cast<uint32_t>(bits_ >> kTagShift); }
        CExpItem* Item() const { return reinterpret_cast<CExpItem*>(bits_ & kAddressMask); }

    private:
        uintptr_t bits_ = 0;
    };
    // A table this large holds more than 16,384 names (it is at most half
    // full): with their items, over 2 MB, more than a core's second-level
    // cache holds.
    static constexpr size_t kLargeTable = 65536;
    static_assert(sizeof(uintptr_t) == 8, "the tag lives in the top bits of a 64-bit address");
    static constexpr int kTagShift = 48;
    static constexpr uintptr_t kAddressMask = (uintptr_t{1} << kTagShift) - 1;
    static uint32_t TagOf(uint32_t hash) { return hash >> 16; }

    // FNV-1a: names are short, and a few multiplications beat a general
    // string hash on them.
    static uint32_t Hash(std::string_view name) {
        uint32_t hash = 2166136261u;
        for (const char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
        return hash;
    }
    size_t Mask() const { return slots_.size() - 1; }
    // Asks for the cache line at address. GCC 12 drops a bare
    // __builtin_prefetch whose address took a loop (the hash) to work out;
    // the empty asm marks the address as used, which keeps both.
    static void Prefetch(const void* address) {
        asm volatile("" : : "r"(address));
        __builtin_prefetch(address);
    }
    // The slot of the item filed under name, or the empty slot that ends
    // its run when there is none (the table is never full).
    size_t SlotOf(std::string_view name, uint32_t hash) const {
        for (size_t i = hash & Mask();; i = (i + 1) & Mask()) {
            const Slot slot = slots_[i];
            if (slot.IsEmpty() || (slot.Tag() == TagOf(hash) && SameName(slot.Item()->Name(), name))) return i;
        }
    }
    // Names are a few bytes long: compared in place, without a call.
    static bool SameName(std::string_view a, std::string_view b) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i) {
            if (a[i] != b[i]) return false;
        }
        return true;
    }

    // Doubles the table (at least 64 slots), keeping it at most half full.
    void Grow() {
        std::vector<Slot> old(slots_.empty() ? 64 : slots_.size() * 2);
        old.swap(slots_);
        for (const Slot& slot : old) {
            if (slot.IsEmpty()) continue;
            size_t i = Hash(slot.Item()->Name()) & Mask();
            while (!slots_[i].IsEmpty()) i = (i + 1) & Mask();
            slots_[i] = slot;
        }
    }

    std::vector<Slot> slots_;
    size_t count_ = 0;
};
