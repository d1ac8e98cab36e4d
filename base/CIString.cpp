#include "base/CIString.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "base/CIError.h"
#include "base/Interruption.h"

namespace {

// One byte of every block is reserved for the terminator.
constexpr int64_t kMaxLength = INT_MAX - 1;

const char* OrEmpty(const char* text) { return text ? text : ""; }

// Lengths come from size_t (strlen, string_view) or from adding two ints;
// anything a block cannot hold is a capacity overflow, reported with the
// capacity that could not be grown.
int CheckedLength(int64_t length, int capacity) {
    if (length > kMaxLength) throw CIRangeError(CIError::kCapacityOverflow, capacity);
    return static_cast<int>(length);
}

int CheckedLength(std::string_view bytes) {
    if (bytes.size() > static_cast<size_t>(kMaxLength)) {
        throw CIRangeError(CIError::kCapacityOverflow, 0);
    }
    return static_cast<int>(bytes.size());
}

int Sign(int value) { return (value > 0) - (value < 0); }

// strncmp on views that already end at their first 0 byte.
int CompareAtMost(std::string_view a, std::string_view b, int count) {
    if (count <= 0) return 0;
    const size_t limit = static_cast<size_t>(count);
    return Sign(a.substr(0, limit).compare(b.substr(0, limit)));
}

// ASCII white space only: bytes of multi-byte characters are never blanks.
bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

CIString::CIString() : CIArray(1) {}

CIString::CIString(int capacity) : CIArray(std::max(capacity, 1)) {}

CIString::CIString(const char* text) : CIString(std::string_view(OrEmpty(text))) {}

CIString::CIString(const char* bytes, int length)
    : CIString(bytes && length > 0 ? std::string_view(bytes, static_cast<size_t>(length))
                                   : std::string_view()) {}

CIString::CIString(std::string_view bytes) : CIArray(CheckedLength(bytes) + 1) {
    length_ = static_cast<int>(bytes.size());
    if (length_ > 0) CopyBytes(buffer_.get(), bytes.data(), bytes.size());
}

CIString::CIString(const CIString& other) : CIArray(other), length_(other.length_) {}

CIString& CIString::operator=(const CIString& other) {
    Assign(other);
    return *this;
}

CIString& CIString::operator=(const char* text) {
    Assign(text);
    return *this;
}

void CIString::Resize(int newCapacity) {
    CIArray::Resize(std::max(newCapacity, 1));
    if (length_ >= capacity_) {
        length_ = capacity_ - 1;
        buffer_[length_] = '\0';
    }
}

void CIString::Attach(std::unique_ptr<char[]> block, int capacity) {
    CIArray::Attach(std::move(block), capacity);
    AdoptCString();
}

void CIString::Assign(const CIArray& other) {
    if (this == &other) return;
    CIArray::Assign(other);
    AdoptCString();
}

// A block taken over from outside holds a C string; one without a terminator
// loses its last byte to one.
void CIString::AdoptCString() {
    if (capacity_ < 1) CIArray::Resize(1);
    length_ = static_cast<int>(strnlen(buffer_.get(), static_cast<size_t>(capacity_)));
    if (length_ == capacity_) {
        --length_;
        buffer_[length_] = '\0';
    }
}

std::string_view CIString::CView() const { return CViewFrom(0); }

std::string_view CIString::CViewFrom(int offset) const {
    if (offset < 0 || offset > length_) return {};
    const char* start = buffer_.get() + offset;
    return {start, strnlen(start, static_cast<size_t>(capacity_ - offset))};
}

// The source may lie inside this string's own block, so it is read before the
// old block is released and moved with memmove.
void CIString::AssignBytes(const char* bytes, int count) {
    if (count >= capacity_) {
        CIString grown(count + 1);
        CopyBytes(grown.buffer_.get(), bytes, static_cast<size_t>(count));
        CIArray::Attach(std::move(grown.buffer_), count + 1);
    } else {
        std::memmove(buffer_.get(), bytes, static_cast<size_t>(count));
        buffer_[count] = '\0';
    }
    length_ = count;
}

void CIString::AppendBytes(const char* bytes, int count) {
    const int newLength = CheckedLength(static_cast<int64_t>(length_) + count, capacity_);
    if (newLength >= capacity_) {
        CIString grown(newLength + 1);
        CopyBytes(grown.buffer_.get(), buffer_.get(), static_cast<size_t>(length_));
        CopyBytes(grown.buffer_.get() + length_, bytes, static_cast<size_t>(count));
        CIArray::Attach(std::move(grown.buffer_), newLength + 1);
    } else {
        std::memmove(buffer_.get() + length_, bytes, static_cast<size_t>(count));
        buffer_[newLength] = '\0';
    }
    length_ = newLength;
}

void CIString::Assign(const CIString& other) {
    if (this == &other) return;
    AssignBytes(other.buffer_.get(), other.length_);
}

void CIString::Assign(const char* text) {
    const std::string_view bytes(OrEmpty(text));
    AssignBytes(bytes.data(), CheckedLength(bytes));
}

void CIString::Append(const CIString& other) { AppendBytes(other.buffer_.get(), other.length_); }

void CIString::Append(const char* text) {
    const std::string_view bytes(OrEmpty(text));
    AppendBytes(bytes.data(), CheckedLength(bytes));
}

// Single characters arrive one at a time from scanners, so the capacity
// doubles instead of growing by one.
void CIString::Append(char c) {
    if (length_ + 1 >= capacity_) {
        if (capacity_ > INT_MAX / 2) throw CIRangeError(CIError::kCapacityOverflow, capacity_);
        Resize(capacity_ * 2);
    }
    buffer_[length_++] = c;
    buffer_[length_] = '\0';
}

bool CIString::Equal(const char* text) const { return CView() == std::string_view(OrEmpty(text)); }

bool CIString::Equal(const CIString& other) const { return CView() == other.CView(); }

const char* CIString::At(int index) const {
    if (index < 0 || index >= length_) throw CIRangeError(CIError::kStringIndex, index);
    return buffer_.get() + index;
}

const char* CIString::At(unsigned index) const {
    if (index >= static_cast<unsigned>(length_)) throw CIRangeError(CIError::kStringIndex, index);
    return buffer_.get() + index;
}

int CIString::Span(const char* set, int start) const {
    if (start < 0 || start > length_) return 0;
    const std::string_view members(OrEmpty(set));
    int position = start;
    while (position < length_ && buffer_[position] != '\0' &&
           members.find(buffer_[position]) != std::string_view::npos) {
        ++position;
    }
    return position;
}

int CIString::Span(char c, int start) const {
    const char set[2] = {c, '\0'};
    return Span(set, start);
}

int CIString::Find(const char* pattern, int start) const {
    if (start < 0 || start > length_) return -1;
    const size_t found = CViewFrom(start).find(OrEmpty(pattern));
    return found == std::string_view::npos ? -1 : start + static_cast<int>(found);
}

CIString CIString::Substring(int from) const {
    if (from < 0 || from > length_) return CIString();
    return CIString(buffer_.get() + from, length_ - from);
}

CIString CIString::Substring(int from, int count) const {
    from = std::max(from, 0);
    if (from > length_ || count <= 0) return CIString();
    const size_t limit = static_cast<size_t>(std::min(count, length_ - from));
    const char* start = buffer_.get() + from;
    return CIString(start, static_cast<int>(strnlen(start, limit)));
}

CIString& CIString::Trim() {
    int end = length_;
    while (end > 0 && IsBlank(buffer_[end - 1])) --end;
    int begin = 0;
    while (begin < end && IsBlank(buffer_[begin])) ++begin;
    AssignBytes(buffer_.get() + begin, end - begin);
    return *this;
}

bool CIString::LineAndColumn(int& line, int& column, int position) const {
    const int end = std::clamp(position, 0, length_);
    line = 0;
    column = 0;
    for (int i = 0; i < end; ++i) {
        if (buffer_[i] == '\n') {
            ++line;
            column = 0;
        } else {
            ++column;
        }
    }
    return position >= 0 && position < length_;
}

int CIString::LineStart(int line) const {
    if (line < 0) return -1;
    if (line == 0) return 0;
    int feeds = 0;
    for (int i = 0; i < length_; ++i) {
        if (buffer_[i] == '\n' && ++feeds == line) return i + 1;
    }
    return -1;
}

void CIString::ToUpper() {
    std::transform(buffer_.get(), buffer_.get() + length_, buffer_.get(), AsciiUpper);
}

void CIString::ToLower() {
    std::transform(buffer_.get(), buffer_.get() + length_, buffer_.get(), AsciiLower);
}

// An offset outside the text compares as the empty string.
int CIString::ComparePrefix(int offset, int count, const char* text) const {
    return CompareAtMost(CViewFrom(offset), OrEmpty(text), count);
}

int CIString::ComparePrefix(int offset, int count, const CIString& other) const {
    return CompareAtMost(CViewFrom(offset), other.CView(), count);
}

int CIString::Compare(const CIString& other) const { return Sign(CView().compare(other.CView())); }

int CIString::Compare(const char* text) const {
    return Sign(CView().compare(std::string_view(OrEmpty(text))));
}

CIString operator+(const CIString& a, const char* b) {
    CIString result(a);
    result.Append(b);
    return result;
}

CIString operator+(const CIString& a, const CIString& b) {
    CIString result(a);
    result.Append(b);
    return result;
}
