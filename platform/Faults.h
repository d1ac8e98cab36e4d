#pragma once

#include <cstdint>
#include <string>

// A C-runtime parameter fault: raised where the Windows C runtime would call
// its invalid-parameter hook (a radix outside 2..36, a non-positive buffer
// size). Inside a built-in call it becomes 10.105; anywhere else it ends the
// run with "_invalid_parameter".
class CInvPrmException {
public:
    CInvPrmException() = default;
};

// A processor fault. Faults arrive as signals; the handler reports them
// itself, so this class carries the code for the report only.
class CSEException {
public:
    CSEException(uint32_t code, uint32_t flags, const void* address)
        : code_(code), flags_(flags), address_(address) {}
    uint32_t Code() const { return code_; }
    // "例外(%08x) %s", or "例外(%08x) flags(%08x) address(%p)".
    std::string Text() const;

private:
    uint32_t code_;
    uint32_t flags_;
    const void* address_;
};
