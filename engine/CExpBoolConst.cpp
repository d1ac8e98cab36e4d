#include "engine/CExpBoolConst.h"

#include "engine/ParseHelpers.h"

namespace {

// The word at the position, as a whole word: «truex» is a name, not true
// followed by x.
bool WordAt(const std::string& text, int at, std::string_view word) {
    const size_t end = static_cast<size_t>(at) + word.size();
    return text.compare(static_cast<size_t>(at), word.size(), word) == 0 &&
           (end >= text.size() || !IsIdentifierChar(static_cast<unsigned char>(text[end])));
}

}  // namespace

// boolean -> "true" | "false"   (case-sensitive whole words)
bool CExpBoolConst::Parse(CExpSource& source, const std::string& text) {
    SkipBlanks(source, text);
    if (AtEnd(source, text)) return false;
    SetPosition(source.position);
    for (const bool truth : {true, false}) {
        const std::string_view word = truth ? "true" : "false";
        if (WordAt(text, source.position, word)) {
            value_ = CValueData::Bool(truth);
            source.position += static_cast<int>(word.size());
            return true;
        }
    }
    return false;
}
