#include "platform/Faults.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>

namespace {

std::string Formatted(uint32_t code, uint32_t flags = 0, const void* address = nullptr) {
    char buffer[256];
    const size_t length = FormatFaultText(buffer, sizeof buffer, code, flags, address);
    EXPECT_EQ(length, std::string(buffer).size());
    return buffer;
}

// The faults are provoked for real; the sanitizers must not see them first.
// Volatile all the way, so the optimiser cannot drop the faulting operation.
volatile int quotient = 0;

__attribute__((no_sanitize("undefined"), noinline)) void DivideBy(int divisor) {
    volatile int dividend = 7;
    volatile int by = divisor;
    quotient = dividend / by;
}

__attribute__((no_sanitize("address", "undefined"), noinline)) void WriteThrough(volatile int* pointer) {
    volatile int* volatile target = pointer;
    *target = 1;
}

// Goes deeper until the stack ends; the depth limit only keeps the compiler
// from calling the recursion endless.
__attribute__((noinline)) int Recurse(int depth) {
    volatile char frame[256];
    frame[0] = static_cast<char>(depth);
    if (depth == -1) return 0;
    return Recurse(depth + 1) + frame[0];
}

}  // namespace

TEST(FaultText, KnownCodesUseTheTableText) {
    EXPECT_EQ(Formatted(0xC0000094), "例外(c0000094) 0 による整数除算。");
    EXPECT_EQ(Formatted(0xC0000005), "例外(c0000005) メモリアクセス違反。");
    EXPECT_EQ(Formatted(0xC00000FD), "例外(c00000fd) スタックオーバーフロー。");
    EXPECT_EQ(Formatted(0xC0000026), "例外(c0000026) 例外ハンドラは無効の処置を例外ディスパッチャに戻しました。");
}

TEST(FaultText, UnknownCodesShowFlagsAndAddress) {
    EXPECT_EQ(Formatted(0x12345678, 1, reinterpret_cast<const void*>(0xdeadbeef)),
              "例外(12345678) flags(00000001) address(0xdeadbeef)");
    EXPECT_EQ(Formatted(0xC00002B4, 0, nullptr), "例外(c00002b4) flags(00000000) address((nil))");
}

TEST(FaultText, ASmallBufferCutsTheTextWithoutOverrun) {
    char buffer[8] = "xxxxxxx";
    const size_t length = FormatFaultText(buffer, 5, 0xC0000094, 0, nullptr);
    EXPECT_EQ(length, 3u);   // never half a character
    EXPECT_EQ(std::string(buffer), "例");
    EXPECT_EQ(buffer[5], 'x');
    EXPECT_EQ(FormatFaultText(buffer, 0, 0xC0000094, 0, nullptr), 0u);
}

TEST(FaultCode, SignalsMapToTheirFaultCodes) {
    EXPECT_EQ(FaultCodeOf(SIGSEGV, SEGV_MAPERR, false), 0xC0000005u);
    EXPECT_EQ(FaultCodeOf(SIGSEGV, SEGV_MAPERR, true), 0xC00000FDu);
    EXPECT_EQ(FaultCodeOf(SIGFPE, FPE_INTDIV, false), 0xC0000094u);
    EXPECT_EQ(FaultCodeOf(SIGFPE, FPE_INTOVF, false), 0xC0000095u);
    EXPECT_EQ(FaultCodeOf(SIGFPE, FPE_FLTDIV, false), 0xC000008Eu);
    EXPECT_EQ(FaultCodeOf(SIGFPE, FPE_FLTOVF, false), 0xC0000091u);
    EXPECT_EQ(FaultCodeOf(SIGFPE, FPE_FLTUND, false), 0xC0000093u);
    EXPECT_EQ(FaultCodeOf(SIGFPE, FPE_FLTRES, false), 0xC000008Fu);
    EXPECT_EQ(FaultCodeOf(SIGFPE, FPE_FLTINV, false), 0xC0000090u);
    EXPECT_EQ(FaultCodeOf(SIGFPE, FPE_FLTSUB, false), 0xC000008Cu);
    EXPECT_EQ(FaultCodeOf(SIGFPE, SI_USER, false), 0xC00002B4u);
    EXPECT_EQ(FaultCodeOf(SIGILL, ILL_ILLOPC, false), 0xC000001Du);
    EXPECT_EQ(FaultCodeOf(SIGILL, ILL_PRVOPC, false), 0xC0000096u);
    EXPECT_EQ(FaultCodeOf(SIGBUS, BUS_ADRALN, false), 0x80000002u);
    EXPECT_EQ(FaultCodeOf(SIGBUS, BUS_ADRERR, false), 0xC0000006u);
    EXPECT_EQ(FaultCodeOf(SIGTRAP, TRAP_BRKPT, false), 0x80000003u);
    EXPECT_EQ(FaultCodeOf(SIGTRAP, TRAP_TRACE, false), 0x80000004u);
}

using FaultsDeathTest = ::testing::Test;

TEST_F(FaultsDeathTest, IntegerDivisionByZeroIsReportedAndEndsWith255) {
    EXPECT_EXIT(
        {
            const CFaultHandlers handlers;
            DivideBy(0);
        },
        ::testing::ExitedWithCode(255), "^例外\\(c0000094\\) 0 による整数除算。\n$");
}

TEST_F(FaultsDeathTest, AnInvalidAccessIsReportedAndEndsWith255) {
    EXPECT_EXIT(
        {
            const CFaultHandlers handlers;
            WriteThrough(nullptr);
        },
        ::testing::ExitedWithCode(255), "^例外\\(c0000005\\) メモリアクセス違反。\n$");
}

TEST_F(FaultsDeathTest, AStackOverflowIsReportedAsSuch) {
    EXPECT_EXIT(
        {
            const CFaultHandlers handlers;
            Recurse(0);
        },
        ::testing::ExitedWithCode(255), "^例外\\(c00000fd\\) スタックオーバーフロー。\n$");
}

TEST(FaultHandlers, ThePreviousHandlersComeBack) {
    struct sigaction before {};
    sigaction(SIGSEGV, nullptr, &before);
    {
        const CFaultHandlers handlers;
        struct sigaction during {};
        sigaction(SIGSEGV, nullptr, &during);
        EXPECT_NE(during.sa_sigaction, before.sa_sigaction);
    }
    struct sigaction after {};
    sigaction(SIGSEGV, nullptr, &after);
    EXPECT_EQ(after.sa_sigaction, before.sa_sigaction);
}
