#include "engine/builtins/BuiltinSupport.h"

#include <cstring>

#include "base/CILogManager.h"

void LogCallError(const char* name, int errnum) {
    char text[100];
    // The GNU strerror_r may return a static text instead of filling text.
    const char* message = strerror_r(errnum, text, sizeof text);
    GlobalLog().Log(CILogManager::ERROR, "%s : error(%s)", name, message);
}

namespace {

bool insideLine = false;

}  // namespace

void NoteLineOutput(std::string_view written) {
    if (!written.empty()) insideLine = written.back() != '\n';
}

bool LineOutputEndsInsideLine() { return insideLine; }

void ForgetLineOutput() { insideLine = false; }

std::optional<std::string> CText(const CValueData& value) {
    std::string text(value.AsString().View());
    if (text.find('\0') != std::string::npos) return std::nullopt;
    return text;
}
