#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "engine/CExpItem.h"

// The outermost scope of every line. The manager's persistent functions and
// declarations are not copied into it: names that reach this level are
// answered from the manager's index, which keeps the earliest definition of
// each name, so a lookup costs the same however long the session has run.
class CExpScope final : public CExpItem {
public:
    CExpScope() : CExpItem(EXP_EXPRESSION) {}

    CExpItem* Lookup(const std::string& name) const override;
    CExpItem* Lookup(std::string_view name) const;

    // Records a persistent definition; an earlier one of the same name wins.
    void Define(const std::string& name, CExpItem* item) { names_.try_emplace(name, item); }
    void ForgetAll() { names_.clear(); }

private:
    // Hashes names and views alike, so a view into the line is looked up
    // without copying it.
    struct NameHash {
        using is_transparent = void;
        size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
    };

    std::unordered_map<std::string, CExpItem*, NameHash, std::equal_to<>> names_;
};
