#include "engine/CExpBoolConst.h"

#include "engine/ParseHelpers.h"

namespace {

bool WordAt(const std::string& text, int at, std::string_view word) {
    return text.compare(static_cast<size_t>(at), word.size(), word) == 0;
}

}  // namespace

// boolean -> "true" | "false"   (case-sensitive; the next character is not
// looked at, so «trueX» is true followed by «X»)
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
