#pragma once

#include <cstddef>
#include <vector>

#include "value/CValueData.h"

// One diagnostic: where, which item kind raised it (1 for the line, 0 for a
// generic execution fault) and the problem. Minor codes below 100 are raised
// while parsing, 100 and above while executing.
struct CExpDiag {
    int position;
    int major;
    int minor;
};

// A first-in, first-out list of diagnostics.
class CExpDiagList {
public:
    void Add(int position, int major, int minor) { diags_.push_back({position, major, minor}); }
    void AddAll(const CExpDiagList& other);
    bool Empty() const { return next_ == diags_.size(); }
    size_t Count() const { return diags_.size() - next_; }
    const CExpDiag& Last() const { return diags_.back(); }
    // Removes and returns the oldest diagnostic; false when none is left.
    bool TakeOldest(CExpDiag& out);

private:
    std::vector<CExpDiag> diags_;
    size_t next_ = 0;
};

// The parse cursor handed to every Parse and Check.
class CExpSource {
public:
    int position = 0;
    int level = 0;   // 3 once an error was recorded
    CExpDiagList diags;

    // A record equal to the last one adds nothing: it arises when two item
    // classes are offered the same text and both skip the same unclosed
    // comment before refusing or taking it.
    void AddDiag(int pos, int major, int minor) {
        level = 3;
        if (!diags.Empty() && diags.Last().position == pos && diags.Last().major == major &&
            diags.Last().minor == minor) {
            return;
        }
        diags.Add(pos, major, minor);
    }
    bool HasDiag() const { return !diags.Empty(); }
    // The depth of nested expressions being parsed; the parser refuses lines
    // that nest deeper than kMaxDepth so that no input can exhaust the stack.
    int depth = 0;
};

// The execution context handed to every Execute.
class CExpContext {
public:
    CValueData value;
    CExpDiagList diags;

    void AddDiag(int pos, int major, int minor) { diags.Add(pos, major, minor); }
    bool HasDiag() const { return !diags.Empty(); }
};
