#pragma once

#include <memory>

// A growable block of bytes. It knows only its capacity; CIString adds the
// length and the terminator on top of it.
class CIArray {
public:
    CIArray();
    explicit CIArray(int capacity);
    CIArray(const CIArray& other);
    CIArray& operator=(const CIArray& other);
    virtual ~CIArray() = default;

    // Reallocates to exactly newCapacity bytes, keeping min(old, new) bytes.
    virtual void Resize(int newCapacity);
    // Releases the current block and adopts the given one.
    virtual void Attach(std::unique_ptr<char[]> block, int capacity);
    virtual int Capacity() const { return capacity_; }
    // Throws CIRangeError(1) unless index < capacity (compared unsigned).
    virtual char& Element(int index);
    virtual void Assign(const CIArray& other);
    virtual bool Equals(const CIArray& other) const;

protected:
    int capacity_ = 0;
    std::unique_ptr<char[]> buffer_;
};
