// Feeds the fuzzer's input, split into lines, to one expression manager the
// way the prompt loop does: parse, fetch the parse diagnostics, execute,
// fetch the execution diagnostics. The value model's text error is caught
// as the prompt loop catches it; anything else that escapes is a finding.
//
// The manager parses every line in full, and the quick evaluator is offered
// each line first: a line it takes must get the same value from the full
// parser, or the target stops as on a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "engine/Builtins.h"
#include "engine/CExpManager.h"
#include "engine/CQuickEvaluator.h"
#include "value/CTextError.h"

namespace {

std::filesystem::path scratchDirectory;

void RemoveScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(scratchDirectory, ignored);
}

// True with the value when the line parsed and ran without a diagnostic.
bool RunLine(CExpManager& manager, const std::string& line, CValueData& result) {
    std::string diagnostic;
    bool clean = false;
    try {
        clean = manager.Parse(line);
        while (manager.NextParseDiagnostic(diagnostic)) {
        }
        clean = manager.Execute(result) && clean;
        while (manager.NextExecDiagnostic(diagnostic)) clean = false;
    } catch (const CTextError&) {
        // Printed by the prompt loop, which goes on with the next line.
        clean = false;
    }
    return clean;
}

void CheckLine(CExpManager& manager, const std::string& line) {
    CQuickEvaluator quick(manager.Scope());
    CValueData quickValue;
    const bool taken = quick.Evaluate(line, quickValue);
    CValueData fullValue;
    const bool clean = RunLine(manager, line, fullValue);
    if (taken && (!clean || quickValue.Type() != fullValue.Type() || quickValue.Format(16) != fullValue.Format(16) ||
                  quickValue.Format(10) != fullValue.Format(10))) {
        __builtin_trap();
    }
}

// Arbitrary lines must not run commands, change the file system outside the
// scratch directory, change the environment or wait for a terminal.
void SilenceSideEffects() {
    constexpr BuiltinId kSideEffects[] = {
        BUILTIN_SYSTEM, BUILTIN_REMOVE, BUILTIN_RENAME, BUILTIN_RMDIR, BUILTIN_MKDIR,
        BUILTIN_CHDIR,  BUILTIN_CHMOD,  BUILTIN_PUTENV, BUILTIN_CGETS, BUILTIN_GETS,
        BUILTIN_GETCH,  BUILTIN_GETCHAR, BUILTIN_CPUTS, BUILTIN_PUTCH};
    for (BuiltinId id : kSideEffects) BuiltinImplementations()[id] = builtin::Inert;
}

}  // namespace

// Lines that touch files do so in a fresh temporary directory, removed at exit.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern = (std::filesystem::temp_directory_path() / "numora_fuzz.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    scratchDirectory = pattern;
    std::filesystem::current_path(scratchDirectory);
    std::atexit(RemoveScratchDirectory);
    SilenceSideEffects();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CExpManager manager;
    manager.SetQuickLines(false);
    std::string_view input(reinterpret_cast<const char*>(data), size);
    while (!input.empty()) {
        const size_t end = input.find('\n');
        CheckLine(manager, std::string(input.substr(0, end)));
        if (end == std::string_view::npos) break;
        input.remove_prefix(end + 1);
    }
    return 0;
}
