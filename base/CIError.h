#pragma once

#include <cstdint>

// Failures of the in-house containers. A failure of room (IsOutOfRoom) costs
// the line or the call that asked for too much; the others are faults of the
// program and travel up to the start-up frame, which reports "error".
class CIError {
public:
    // ORDER: the codes are part of the containers' contract.
    static constexpr int kArrayIndex = 1;
    static constexpr int kMemory = 2;
    static constexpr int kStringIndex = 0x401;
    static constexpr int kCapacityOverflow = 0x402;

    explicit CIError(int code) : code_(code) {}
    virtual ~CIError() = default;
    int Code() const { return code_; }

private:
    int code_;
};

class CIRangeError : public CIError {
public:
    CIRangeError(int code, int64_t index) : CIError(code), index_(index) {}
    int64_t Index() const { return index_; }

private:
    int64_t index_;
};

class CIMemoryError : public CIError {
public:
    CIMemoryError() : CIError(kMemory) {}
};

// The string class ran out of room: its memory error, or a length beyond what
// one block can hold (2 GB), which no amount of memory would mend. Like a
// failed allocation, either ends only what asked for that much.
inline bool IsOutOfRoom(const CIError& error) {
    return error.Code() == CIError::kMemory || error.Code() == CIError::kCapacityOverflow;
}
