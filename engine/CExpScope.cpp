#include "engine/CExpScope.h"

CExpItem* CExpScope::Lookup(const std::string& name) const { return Lookup(std::string_view(name)); }

CExpItem* CExpScope::Lookup(std::string_view name) const {
    auto it = names_.find(name);
    return it == names_.end() ? nullptr : it->second;
}
