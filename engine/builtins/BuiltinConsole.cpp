// Console and standard input and output: cgets, gets, cputs, puts, getch,
// getchar, putch, putchar. The console ones use the terminal directly and
// fail without one; the others use C stdio, as the prompt does, so their
// input and output keep their order with the prompt's.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <optional>
#include <string>

#include "base/CILogManager.h"
#include "engine/builtins/BuiltinSupport.h"
#include "engine/builtins/Builtins.h"
#include "platform/Console.h"
#include "platform/Interrupt.h"
#include "platform/StandardStreams.h"
#include "platform/TypedInput.h"

namespace {

// The longest line cgets and gets deliver; the rest of a longer line is
// dropped rather than left to be read as the next prompt line.
constexpr size_t kLineLimit = 255;

// Whatever the prompt printed must reach the terminal before the console is
// used directly.
std::optional<CConsole> OpenConsole() {
    std::fflush(stdout);
    return CConsole::Open();
}

// What was printed so far must be out before the program waits for input,
// which may come from the same terminal. A line end typed at the terminal
// is a line feed, however it came.
int ReadStdinChar() {
    std::fflush(stdout);
    const CInterruptibleWait wait;
    const int c = std::getchar();
    NoteTypedByte(c);
    return EndsTypedLine(c) ? '\n' : c;
}

// One line of standard input without its line end; nothing on a read error.
std::optional<std::string> ReadStdinLine() {
    std::fflush(stdout);
    const CInterruptibleWait wait;
    std::string line;
    for (int c = std::getchar(); c != EOF && !EndsTypedLine(c); c = std::getchar()) {
        if (line.size() < kLineLimit) line += static_cast<char>(c);
    }
    NoteTypedByte('\n');
    if (std::ferror(stdin)) return std::nullopt;
    return line;
}

}  // namespace

namespace builtin {

bool Cgets(CBuiltinCall& call) {
    std::optional<CConsole> console = OpenConsole();
    if (!console) return call.Fail(Diag::BuiltinFailed);
    const std::optional<std::string> line = console->ReadLine(kLineLimit);
    if (!line) return call.Fail(Diag::BuiltinFailed);
    call.Return(CValueData::String(*line));
    return true;
}

bool Gets(CBuiltinCall& call) {
    const std::optional<std::string> line = ReadStdinLine();
    if (!line) {
        // Ctrl-C at a terminal is the user's choice, not a failure to log.
        if (!InterruptRequested()) {
            GlobalLog().Log(CILogManager::ERROR, "%s : error(%d)", call.Name(), std::ferror(stdin));
        }
        return call.Fail(Diag::BuiltinFailed);
    }
    call.Return(CValueData::String(*line));
    return true;
}

bool Cputs(CBuiltinCall& call) {
    std::optional<CConsole> console = OpenConsole();
    if (!console) return call.Fail(Diag::BuiltinFailed);
    const CIString text = call.Arg(0).AsString();
    const bool written = console->Write(text.Text());
    if (!written) ThrowIfInterrupted();
    if (written) NoteLineOutput(text.Text());
    call.Return(CValueData::Int(written ? 0 : -1));
    return true;
}

// A text too long to write at once is written a piece at a time, so Ctrl-C
// can stop it; the answer is then glibc's puts's: the length written with
// its line feed, at most INT_MAX, or EOF.
bool Puts(CBuiltinCall& call) {
    const CIString argument = call.Arg(0).AsString();
    const std::string_view text = argument.CView();
    if (text.size() <= kInterruptCheckBytes) {
        const int written = std::puts(argument.Text());
        if (written != EOF) NoteLineOutput("\n");
        call.Return(CValueData::Int(written));
        return true;
    }
    const bool written = WriteInterruptibly(stdout, text) == text.size() && std::putchar('\n') != EOF;
    if (written) NoteLineOutput("\n");
    const size_t length = std::min<size_t>(text.size() + 1, INT_MAX);
    call.Return(CValueData::Int(written ? static_cast<int>(length) : EOF));
    return true;
}

bool Getch(CBuiltinCall& call) {
    std::optional<CConsole> console = OpenConsole();
    if (!console) return call.Fail(Diag::BuiltinFailed);
    const std::optional<unsigned char> key = console->ReadKey();
    if (!key) return call.Fail(Diag::BuiltinFailed);
    call.Return(CValueData::Int(*key));
    return true;
}

bool Getchar(CBuiltinCall& call) {
    call.Return(CValueData::Int(ReadStdinChar()));
    return true;
}

// Returns the byte written.
bool Putch(CBuiltinCall& call) {
    const char byte = static_cast<char>(call.Arg(0).AsInt());
    std::optional<CConsole> console = OpenConsole();
    if (!console || !console->Write(std::string_view(&byte, 1))) return call.Fail(Diag::BuiltinFailed);
    NoteLineOutput(std::string_view(&byte, 1));
    call.Return(CValueData::Int(static_cast<unsigned char>(byte)));
    return true;
}

bool Putchar(CBuiltinCall& call) {
    const int written = std::putchar(call.Arg(0).AsInt());
    const char byte = static_cast<char>(written);
    if (written != EOF) NoteLineOutput(std::string_view(&byte, 1));
    call.Return(CValueData::Int(written));
    return true;
}

}  // namespace builtin
