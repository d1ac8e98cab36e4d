#include "app/EnglishDiagnostic.h"

#include <cstdlib>

#include "app/CLineTokens.h"

bool LocaleIsJapanese() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return std::string_view(value).starts_with("ja");
    }
    return false;
}

std::string EnglishMeaning(const CExpDiag& diagnostic, CLineTokens& tokens) {
    std::string text = DiagEnglish(diagnostic.id);
    const size_t open = text.find('{');
    if (open == std::string::npos) return text;
    const size_t close = text.find('}', open);
    const std::string_view word = std::string_view(text).substr(open + 1, close - open - 1);
    const TokenKind kind = word == "number" ? TokenKind::Number : TokenKind::Name;
    const size_t index = tokens.KindAt(diagnostic.position, kind);
    if (index < tokens.Count()) return text.replace(open, close + 1 - open, ShownText(tokens.Text(index)));
    // Without the text, the words around it still make sense: « "{name}"»
    // goes with the blank before it.
    return text.erase(open - 2, close - open + 4);
}
