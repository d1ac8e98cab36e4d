#include "engine/CExpScope.h"

CExpItem* CExpScope::Lookup(const std::string& name) const {
    auto it = names_.find(name);
    return it == names_.end() ? nullptr : it->second;
}

void CExpScope::Forget(const std::string& name, const CExpItem* item) {
    auto it = names_.find(name);
    if (it != names_.end() && it->second == item) names_.erase(it);
}
