#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/items/CExpItem.h"

// Items by the names they answer to (the session's persistent names, the
// declarators of a long declaration): an open-addressing table. A lookup
// reads one slot and the item it names (which the caller reads next anyway),
// so it costs about the same among a hundred names as among a hundred
// thousand.
class CNameIndex {
public:
    CExpItem* Find(std::string_view name) const {
        if (slots_.empty()) return nullptr;
        const uint32_t hash = Hash(name);
        for (size_t i = hash & Mask();; i = (i + 1) & Mask()) {
            const Slot& slot = slots_[i];
            if (slot.item == nullptr) return nullptr;
            if (slot.hash == hash && SameName(slot.item->Name(), name)) return slot.item;
        }
    }

    // Files the item under its own name, which must live as long as the
    // index; an item already filed under that name stays.
    void Add(CExpItem* item) {
        if ((count_ + 1) * 2 > slots_.size()) Grow();
        const std::string_view name = item->Name();
        const uint32_t hash = Hash(name);
        for (size_t i = hash & Mask();; i = (i + 1) & Mask()) {
            Slot& slot = slots_[i];
            if (slot.item == nullptr) {
                slot = {hash, item};
                ++count_;
                return;
            }
            if (slot.hash == hash && slot.item->Name() == name) return;
        }
    }

    void Clear() {
        slots_.clear();
        count_ = 0;
    }

private:
    struct Slot {
        uint32_t hash = 0;
        CExpItem* item = nullptr;
    };

    // FNV-1a: names are short, and a few multiplications beat a general
    // string hash on them.
    static uint32_t Hash(std::string_view name) {
        uint32_t hash = 2166136261u;
        for (const char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
        return hash;
    }
    size_t Mask() const { return slots_.size() - 1; }
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
            if (slot.item == nullptr) continue;
            size_t i = slot.hash & Mask();
            while (slots_[i].item != nullptr) i = (i + 1) & Mask();
            slots_[i] = slot;
        }
    }

    std::vector<Slot> slots_;
    size_t count_ = 0;
};
