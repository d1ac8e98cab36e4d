#pragma once

#include "engine/Diagnostics.h"
#include "engine/ValueNotes.h"
#include "value/CValueData.h"

// The execution context handed to every Execute: an item leaves its value
// here, and records what went wrong.
class CExpContext {
public:
    CValueData value;
    CExpDiagList diags;
    // Where values the line changes silently are noted; null (and nothing
    // checked) unless a person will read the notes.
    CValueNoteList* notes = nullptr;

    void AddDiag(int position, Diag id) { diags.Add(position, id); }
    // Empty again, keeping the diagnostics' storage.
    void Clear() {
        value.Clear();
        diags.Clear();
    }
    bool HasDiag() const { return !diags.Empty(); }
};
