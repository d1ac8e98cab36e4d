#include "engine/CExpComment.h"

#include "engine/ParseHelpers.h"

namespace {

constexpr int kUnclosed = 1;   // (2, 1) "対応するコメント終了コードがありません"

// Whether the two characters at the cursor are the given opener. Only white
// space is skipped before it: skipping comments here would recurse.
bool OpensWith(CExpSource& source, const std::string& text, const char* opener) {
    SkipSpaces(source, text);
    return !AtEnd(source, text) && text.compare(source.position, 2, opener) == 0;
}

}  // namespace

// block comment -> "/*" { any } "*/"   (comments do not nest)
bool CExpComment::Parse(CExpSource& source, const std::string& text) {
    if (!OpensWith(source, text, "/*")) return false;
    SetPosition(source.position);
    const size_t begin = source.position + 2;
    const size_t close = text.find("*/", begin);
    if (close == std::string::npos) {
        // The rest of the text is the comment.
        source.AddDiag(Position(), EXP_COMMENT, kUnclosed);
        text_ = text.substr(begin);
        source.position = static_cast<int>(text.size());
        return true;
    }
    text_ = text.substr(begin, close - begin);
    source.position = static_cast<int>(close + 2);
    return true;
}

// line comment -> "//" { any } ( "\r\n" | end of text )
// Only the pair ends it; a lone line feed is part of the comment.
bool CExpCommentLine::Parse(CExpSource& source, const std::string& text) {
    if (!OpensWith(source, text, "//")) return false;
    SetPosition(source.position);
    const size_t begin = source.position + 2;
    const size_t lineEnd = text.find("\r\n", begin);
    if (lineEnd == std::string::npos) {
        text_ = text.substr(begin);
        source.position = static_cast<int>(text.size());
        return true;
    }
    text_ = text.substr(begin, lineEnd - begin);
    source.position = static_cast<int>(lineEnd + 2);
    return true;
}
