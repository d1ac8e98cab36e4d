#include "engine/CExpCharConst.h"

#include "engine/ParseHelpers.h"

namespace {

constexpr int kEmpty = 1;          // (6, 1) "定数値がありません"
constexpr int kTruncated = 2;      // (6, 2) "定数値を切り詰めました"
constexpr int kMissingQuote = 3;   // (6, 3) "対応する引用符がありません"
constexpr int kForbidden = 4;      // (6, 4) "使用できない文字コードを検出しました"

// A character constant holds one byte of plain text: control characters and
// the bytes of multi-byte characters are refused.
bool IsForbidden(unsigned char c) { return c < 0x20 || c == 0x7f || c >= 0x80; }

}  // namespace

// character -> "'" char "'"   (no escape sequences: «'\n'» is a backslash)
bool CExpCharConst::Parse(CExpSource& source, const std::string& text) {
    SkipBlanks(source, text);
    if (CurrentChar(source, text) != '\'') return false;
    SetPosition(source.position);
    const int first = ++source.position;

    int count = 0;
    for (size_t at = first; at < text.size() && text[at] != '\''; ++at, ++count) {
        if (IsForbidden(static_cast<unsigned char>(text[at]))) {
            source.AddDiag(first, EXP_CHAR_CONST, kForbidden);
            break;
        }
    }
    if (count == 0) {
        source.AddDiag(first, EXP_CHAR_CONST, kEmpty);
    } else {
        value_ = CValueData::Char(static_cast<int8_t>(text[first]));
        if (count > 1) source.AddDiag(first, EXP_CHAR_CONST, kTruncated);
    }
    source.position = first + count;
    if (CurrentChar(source, text) == '\'') {
        ++source.position;
    } else {
        source.AddDiag(source.position, EXP_CHAR_CONST, kMissingQuote);
    }
    return true;
}
