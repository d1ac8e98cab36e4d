#pragma once

#include <string>

// The value model's error: a plain text "*kestrak error : ival(<site>)".
// The prompt loop prints it and goes on with the next line.
class CTextError {
public:
    explicit CTextError(std::string text) : text_(std::move(text)) {}
    const std::string& Text() const { return text_; }

    // Builds "*kestrak error : <unit>(<site>)".
    static CTextError At(const char* unit, int site);

private:
    std::string text_;
};

// Raises the value model's text error for the given site number.
[[noreturn]] void RaiseValueError(int site);
