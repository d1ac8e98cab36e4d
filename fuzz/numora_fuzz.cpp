// Feeds the fuzzer's input, split into lines, to one expression manager the
// way the prompt loop does: parse, fetch the parse diagnostics, execute,
// fetch the execution diagnostics. The value model's text error is caught
// as the prompt loop catches it; anything else that escapes is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "engine/Builtins.h"
#include "engine/CExpManager.h"
#include "value/CTextError.h"

namespace {

std::filesystem::path scratchDirectory;

void RemoveScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(scratchDirectory, ignored);
}

void RunLine(CExpManager& manager, const std::string& line) {
    std::string diagnostic;
    try {
        manager.Parse(line);
        while (manager.NextParseDiagnostic(diagnostic)) {
        }
        CValueData result;
        manager.Execute(result);
        while (manager.NextExecDiagnostic(diagnostic)) {
        }
    } catch (const CTextError&) {
        // Printed by the prompt loop, which goes on with the next line.
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
    std::string_view input(reinterpret_cast<const char*>(data), size);
    while (!input.empty()) {
        const size_t end = input.find('\n');
        RunLine(manager, std::string(input.substr(0, end)));
        if (end == std::string_view::npos) break;
        input.remove_prefix(end + 1);
    }
    return 0;
}
