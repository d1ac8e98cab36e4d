// Feeds the fuzzer's input, split into lines, to an expression manager the
// way the prompt loop does: parse, fetch the parse diagnostics, execute,
// fetch the execution diagnostics. The value model's text error is caught
// as the prompt loop catches it; anything else that escapes is a finding.
//
// A second manager receives each line that the first one parses as a clean
// expression wrapped as «0, (line)», which must mean the same: the same type
// and value (bit for bit), or the same execution diagnostics four bytes
// further on. A third one works nothing out while it reads a line, which
// must change nothing at all; the first one notes the values its lines
// change silently, as at a terminal, which must change nothing either. The
// managers see every line, so they hold the same variables.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/builtins/BuiltinTable.h"
#include "engine/items/CExpression.h"
#include "engine/manager/CExpManager.h"
#include "value/CTextError.h"

namespace {

std::filesystem::path scratchDirectory;

void RemoveScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(scratchDirectory, ignored);
}

// What running a line produced: whether its parse and its execution were
// clean, its value, and its diagnostics.
struct Outcome {
    bool parsed = false;
    bool executed = false;
    bool raised = false;
    CValueData value;
    std::vector<std::string> diagnostics;
};

Outcome RunLine(CExpManager& manager, const std::string& line) {
    Outcome outcome;
    try {
        outcome.parsed = manager.Parse(line);
        for (const CExpDiag& diag : manager.ParseDiagnostics()) outcome.diagnostics.push_back(FormatDiagnostic(diag));
        outcome.executed = manager.Execute(outcome.value);
        for (const CExpDiag& diag : manager.ExecDiagnostics()) outcome.diagnostics.push_back(FormatDiagnostic(diag));
    } catch (const CTextError& error) {
        // Printed by the prompt loop, which goes on with the next line.
        outcome.raised = true;
        outcome.diagnostics.push_back(error.Text());
    }
    return outcome;
}

// The value as its bits: the payload of a number, the bytes of a string.
std::string Bits(const CValueData& value) {
    if (value.Type() == VTYPE_STRING) return value.StringRef().ToStdString();
    if (value.Type() == VTYPE_FRACTION) {
        const CFraction fraction = value.AsFraction();
        return std::to_string(fraction.num) + "$" + std::to_string(fraction.den);
    }
    unsigned char raw[8] = {};
    value.GetRaw(raw);
    return std::string(reinterpret_cast<const char*>(raw), sizeof raw);
}

// "pos:N  text" with N moved back by the wrapper's four bytes.
std::string Unshifted(const std::string& diagnostic) {
    if (diagnostic.rfind("pos:", 0) != 0) return diagnostic;
    const size_t end = diagnostic.find(' ');
    return "pos:" + std::to_string(std::atoi(diagnostic.c_str() + 4) - 4) + diagnostic.substr(end);
}

bool SameOutcome(const Outcome& a, const Outcome& b) {
    if (a.parsed != b.parsed || a.executed != b.executed || a.raised != b.raised) return false;
    if (a.diagnostics != b.diagnostics) return false;
    return !a.executed || (a.value.Type() == b.value.Type() && Bits(a.value) == Bits(b.value));
}

bool SameMeaning(const Outcome& plain, const Outcome& wrapped) {
    if (plain.raised != wrapped.raised || plain.executed != wrapped.executed || !wrapped.parsed) return false;
    if (plain.executed) return plain.value.Type() == wrapped.value.Type() && Bits(plain.value) == Bits(wrapped.value);
    if (plain.diagnostics.size() != wrapped.diagnostics.size()) return false;
    for (size_t i = 0; i < plain.diagnostics.size(); ++i) {
        if (plain.diagnostics[i] != Unshifted(wrapped.diagnostics[i])) return false;
    }
    return true;
}

// Lines this long might reach the nesting bound once wrapped.
constexpr size_t kLongestWrapped = 900;

void CheckLine(CExpManager& plain, CExpManager& wrapped, CExpManager& unfolded, const std::string& line) {
    const Outcome outcome = RunLine(plain, line);
    if (!SameOutcome(outcome, RunLine(unfolded, line))) __builtin_trap();
    const bool expression = outcome.parsed && plain.Statement() != nullptr && plain.Statement()->Root() != nullptr;
    if (!expression || line.size() > kLongestWrapped) {
        RunLine(wrapped, line);
        return;
    }
    // "\r\n" ends a line comment in the line before the closing parenthesis.
    if (!SameMeaning(outcome, RunLine(wrapped, "0, (" + line + "\r\n)"))) __builtin_trap();
}

// Arbitrary lines must not run commands, change the file system outside the
// scratch directory, change the environment or the terminal, or wait for
// input; and the managers must see the same results, which the one random
// sequence they would share does not give.
void SilenceLastingEffects() {
    for (const BuiltinRow& row : BuiltinTable()) {
        if (row.effects == BuiltinEffects::Lasting) ReplaceBuiltin(row.id, builtin::Inert);
    }
}

}  // namespace

// Lines that touch files do so in a fresh temporary directory, removed at exit.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern = (std::filesystem::temp_directory_path() / "numora_fuzz.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    scratchDirectory = pattern;
    std::filesystem::current_path(scratchDirectory);
    std::atexit(RemoveScratchDirectory);
    SilenceLastingEffects();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CExpManager plain;
    CExpManager wrapped;
    CExpManager unfolded;
    unfolded.SetFolding(false);
    // Noting the values a line changes must change none of its results.
    plain.KeepValueNotes(true);
    std::string_view input(reinterpret_cast<const char*>(data), size);
    while (!input.empty()) {
        const size_t end = input.find('\n');
        CheckLine(plain, wrapped, unfolded, std::string(input.substr(0, end)));
        if (end == std::string_view::npos) break;
        input.remove_prefix(end + 1);
    }
    return 0;
}
