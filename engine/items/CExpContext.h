#pragma once

#include "engine/Diagnostics.h"
#include "value/CValueData.h"

// The execution context handed to every Execute: an item leaves its value
// here, and records what went wrong.
class CExpContext {
public:
    CValueData value;
    CExpDiagList diags;

    void AddDiag(int position, Diag id) { diags.Add(position, id); }
    // Empty again, keeping the diagnostics' storage.
    void Clear() {
        value.Clear();
        diags.Clear();
    }
    bool HasDiag() const { return !diags.Empty(); }
};
