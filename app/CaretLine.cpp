#include "app/CaretLine.h"

#include <algorithm>

namespace {

struct CodeRange {
    char32_t first;
    char32_t last;
};

// Characters a terminal shows in two columns: the East Asian wide and
// full-width blocks (ideographs, kana, hangul, full-width forms, emoji).
constexpr CodeRange kWide[] = {
    {0x1100, 0x115F},   {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},
    {0xFE30, 0xFE4F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x1F300, 0x1F64F},
    {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

// Characters drawn over the one before them: combining marks, zero-width
// spaces and joiners, variation selectors.
constexpr CodeRange kZeroWidth[] = {
    {0x0300, 0x036F}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x200B, 0x200F},
    {0x20D0, 0x20FF}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F},
};

template <size_t N>
bool InRanges(char32_t code, const CodeRange (&ranges)[N]) {
    return std::any_of(ranges, ranges + N, [code](const CodeRange& r) { return code >= r.first && code <= r.last; });
}

// The length of the UTF-8 sequence a byte starts; 1 for ASCII and for bytes
// that start none.
size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 1;
}

// Decodes the UTF-8 character at text[at] and returns its length in bytes;
// a byte that starts no valid character stands for itself.
size_t Decode(std::string_view text, size_t at, char32_t& code) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const size_t length = SequenceLength(lead);
    if (length == 1 || at + length > text.size()) {
        code = lead;
        return 1;
    }
    code = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            code = lead;
            return 1;
        }
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    return length;
}

size_t Width(char32_t code, size_t column) {
    constexpr size_t kTabStop = 8;
    if (code == '\t') return kTabStop - column % kTabStop;
    if (code < 0x20 || code == 0x7F) return 2;
    if (InRanges(code, kZeroWidth)) return 0;
    return InRanges(code, kWide) ? 2 : 1;
}

}  // namespace

std::string CaretLine(std::string_view text, size_t promptWidth, const std::vector<size_t>& positions) {
    // The screen column of every byte offset; the bytes inside a character
    // share the column it starts in.
    std::vector<size_t> columns;
    size_t column = promptWidth;
    for (size_t at = 0; at < text.size();) {
        char32_t code = 0;
        const size_t length = Decode(text, at, code);
        columns.insert(columns.end(), length, column);
        column += Width(code, column);
        at += length;
    }
    std::string line;
    for (const size_t position : positions) {
        const size_t target = position < columns.size() ? columns[position] : column + (position - columns.size());
        if (line.size() <= target) line.resize(target + 1, ' ');
        line[target] = '^';
    }
    return line;
}

size_t DisplayWidth(std::string_view text) {
    size_t column = 0;
    for (size_t at = 0; at < text.size();) {
        char32_t code = 0;
        at += Decode(text, at, code);
        column += Width(code, column);
    }
    return column;
}
