#include "engine/CExpDiag.h"

void CExpDiagList::AddAll(const CExpDiagList& other) {
    for (size_t i = other.next_; i < other.diags_.size(); ++i) diags_.push_back(other.diags_[i]);
}

bool CExpDiagList::TakeOldest(CExpDiag& out) {
    if (Empty()) return false;
    out = diags_[next_++];
    return true;
}
