#pragma once

#include <string>
#include <string_view>

#include "base/CIArray.h"

// The byte string of the calculator. Bytes are never interpreted, so text in
// any encoding passes through unchanged, and the text may hold 0 bytes:
// operations that work on the length see them, C-string style operations
// (comparisons, Equal) stop at the first one.
//
// Growth: Assign and Append grow to exactly length + 1; appending a single
// character doubles the capacity.
class CIString : public CIArray {
public:
    CIString();                         // empty, capacity 1
    explicit CIString(int capacity);    // empty, given capacity
    CIString(const char* text);         // capacity strlen + 1
    CIString(const char* bytes, int length);  // may hold 0 bytes
    explicit CIString(std::string_view bytes);
    CIString(const CIString& other);
    CIString& operator=(const CIString& other);
    CIString& operator=(const char* text);

    // The inherited storage operations keep the string's invariants: there is
    // always room for the terminator, and the length never passes it.
    void Resize(int newCapacity) override;
    void Attach(std::unique_ptr<char[]> block, int capacity) override;
    void Assign(const CIArray& other) override;

    const char* Text() const { return buffer_.get(); }
    char* Text() { return buffer_.get(); }
    std::string_view View() const { return {buffer_.get(), static_cast<size_t>(length_)}; }
    std::string ToStdString() const { return std::string(View()); }
    // The text as the C library would see it: up to the first 0 byte, and never
    // past the block even if a terminator was overwritten through Element().
    std::string_view CView() const;

    virtual void Assign(const CIString& other);
    virtual void Assign(const char* text);
    virtual void Append(const CIString& other);
    virtual void Append(const char* text);
    void Append(char c);

    virtual bool Equal(const char* text) const;
    virtual bool Equal(const CIString& other) const;
    virtual bool NotEqual(const char* text) const { return !Equal(text); }
    virtual bool NotEqual(const CIString& other) const { return !Equal(other); }

    // Throw CIRangeError(0x401) unless 0 <= index < length.
    virtual const char* At(int index) const;
    virtual const char* At(unsigned index) const;
    virtual const char* End() const { return buffer_.get() + length_; }
    virtual int Length() const { return length_; }

    virtual int Span(const char* set, int start) const;
    virtual int Span(char c, int start) const;
    virtual int Find(const char* pattern, int start) const;
    virtual CIString Substring(int from) const;
    virtual CIString Substring(int from, int count) const;
    virtual CIString& Trim();
    virtual bool LineAndColumn(int& line, int& column, int position) const;
    virtual int LineStart(int line) const;
    virtual void ToUpper();
    virtual void ToLower();
    virtual int ComparePrefix(int offset, int count, const char* text) const;
    virtual int ComparePrefix(int offset, int count, const CIString& other) const;
    virtual int Compare(const CIString& other) const;
    virtual int Compare(const char* text) const;

    friend CIString operator+(const CIString& a, const char* b);
    friend CIString operator+(const CIString& a, const CIString& b);
    bool operator==(const CIString& other) const { return Equal(other); }

private:
    std::string_view CViewFrom(int offset) const;
    void AssignBytes(const char* bytes, int count);
    void AppendBytes(const char* bytes, int count);
    void AdoptCString();

    int length_ = 0;
};
