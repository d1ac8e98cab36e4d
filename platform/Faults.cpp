#include "platform/Faults.h"

#include <sys/resource.h>
#include <unistd.h>

#include "platform/TerminationSignals.h"

namespace {

struct FaultRow {
    uint32_t code;
    const char* text;
};

// Searched in this order.
constexpr FaultRow kFaultTable[] = {
    {0xC0000005, "メモリアクセス違反。"},
    {0xC000008C, "配列境界を超えました。"},
    {0x80000003, "プレークポイント。"},
    {0x80000002, "不整列メモリアクセス。"},
    {0xC000008D, "浮動小数点非正規化オペランド。"},
    {0xC000008E, "0 による浮動小数点除算。"},
    {0xC000008F, "浮動小数点の不正確な結果。"},
    {0xC0000090, "浮動小数点の無効な演算。"},
    {0xC0000091, "浮動小数点オーバーフロー。"},
    {0xC0000092, "浮動小数点スタック チェック。"},
    {0xC0000093, "浮動小数点アンダーフロー。"},
    {0xC000001D, "不正命令を実行しようとしました。"},
    {0xC0000006, "ページアクセスエラー。"},
    {0xC0000094, "0 による整数除算。"},
    {0xC0000095, "整数オーバーフロー。"},
    {0xC0000026, "例外ハンドラは無効の処置を例外ディスパッチャに戻しました。"},
    {0xC0000025, "Windows はこの例外から続行できません。"},
    {0xC0000096, "特権のある命令。"},
    {0x80000004, "シングルステップ。"},
    {0xC00000FD, "スタックオーバーフロー。"},
};

constexpr uint32_t kAccessViolation = 0xC0000005;
constexpr uint32_t kStackOverflow = 0xC00000FD;
constexpr uint32_t kMisaligned = 0x80000002;
constexpr uint32_t kPageError = 0xC0000006;
constexpr uint32_t kBreakpoint = 0x80000003;
constexpr uint32_t kSingleStep = 0x80000004;
constexpr uint32_t kIllegalInstruction = 0xC000001D;
constexpr uint32_t kPrivilegedInstruction = 0xC0000096;
// A floating-point trap of a kind the table has no row for.
constexpr uint32_t kFloatMultipleFaults = 0xC00002B4;

struct FpeRow {
    int signalCode;
    uint32_t code;
};

constexpr FpeRow kFpeCodes[] = {
    {FPE_INTDIV, 0xC0000094}, {FPE_INTOVF, 0xC0000095}, {FPE_FLTDIV, 0xC000008E},
    {FPE_FLTOVF, 0xC0000091}, {FPE_FLTUND, 0xC0000093}, {FPE_FLTRES, 0xC000008F},
    {FPE_FLTINV, 0xC0000090}, {FPE_FLTSUB, 0xC000008C},
};

// Appends to a fixed buffer; once something does not fit, the text ends
// there. Signal-safe.
class FixedText {
public:
    FixedText(char* buffer, size_t size) : buffer_(buffer), size_(size) { Terminate(); }

    // Whole characters only: a UTF-8 sequence that does not fit is left out.
    void Append(const char* text) {
        while (*text != '\0') {
            const size_t length = SequenceLength(text);
            if (length_ + length >= size_) full_ = true;
            if (full_) return;
            for (size_t i = 0; i < length; ++i) Put(text[i]);
            text += length;
        }
    }
    // Lower-case hexadecimal with at least minDigits digits.
    void AppendHex(uintptr_t value, int minDigits) {
        char digits[2 * sizeof value];
        int count = 0;
        do {
            digits[count++] = "0123456789abcdef"[value & 0xF];
            value >>= 4;
        } while (value != 0 || count < minDigits);
        while (count > 0) Put(digits[--count]);
    }
    // As glibc's "%p" shows a pointer.
    void AppendPointer(const void* address) {
        if (address == nullptr) {
            Append("(nil)");
            return;
        }
        Append("0x");
        AppendHex(reinterpret_cast<uintptr_t>(address), 1);
    }
    size_t Length() const { return length_; }

private:
    static size_t SequenceLength(const char* text) {
        size_t length = 1;
        while ((static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) ++length;
        return length;
    }
    void Put(char c) {
        if (length_ + 1 >= size_) full_ = true;
        if (full_) return;
        buffer_[length_++] = c;
        Terminate();
    }
    void Terminate() {
        if (size_ > 0) buffer_[length_] = '\0';
    }

    char* buffer_;
    size_t size_;
    size_t length_ = 0;
    bool full_ = false;
};

const char* FaultTextOf(uint32_t code) {
    for (const FaultRow& row : kFaultTable) {
        if (row.code == code) return row.text;
    }
    return nullptr;
}

// The main stack: its top (near where the handlers were installed) and how
// far it may grow. A SIGSEGV in that range is taken for a stack overflow.
uintptr_t stackTop = 0;
uintptr_t stackReach = 0;

// Room for the guard page and the largest frame probe past the limit.
constexpr uintptr_t kGuardSlack = 1024 * 1024;
constexpr size_t kAltStackSize = 64 * 1024;

void RecordStackBounds() {
    int marker = 0;
    stackTop = reinterpret_cast<uintptr_t>(&marker);
    rlimit limit{};
    const uintptr_t defaultLimit = 8 * 1024 * 1024;
    const bool known = getrlimit(RLIMIT_STACK, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY;
    stackReach = (known ? static_cast<uintptr_t>(limit.rlim_cur) : defaultLimit) + kGuardSlack;
}

bool IsStackOverflow(const void* address) {
    const auto fault = reinterpret_cast<uintptr_t>(address);
    return fault < stackTop && stackTop - fault <= stackReach;
}

void OnFault(int signal, siginfo_t* info, void*) {
    // A person at the terminal must be able to read the report, and type.
    RestoreTerminalModes();
    const bool overflow = signal == SIGSEGV && IsStackOverflow(info->si_addr);
    char line[256];
    const size_t length = FormatFaultText(line, sizeof line - 1, FaultCodeOf(signal, info->si_code, overflow),
                                          static_cast<uint32_t>(info->si_code), info->si_addr);
    line[length] = '\n';
    const ssize_t ignored = write(STDERR_FILENO, line, length + 1);
    (void)ignored;
    _exit(255);
}

// abort() (a failed check of the C++ runtime, or of a library) ends the run
// as before, with the terminal given back first.
void OnAbort(int) {
    RestoreTerminalModes();
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    sigaction(SIGABRT, &defaultAction, nullptr);
    raise(SIGABRT);
}

}  // namespace

size_t FormatFaultText(char* buffer, size_t size, uint32_t code, uint32_t flags,
                       const void* address) {
    FixedText text(buffer, size);
    text.Append("例外(");
    text.AppendHex(code, 8);
    text.Append(")");
    if (const char* known = FaultTextOf(code)) {
        text.Append(" ");
        text.Append(known);
        return text.Length();
    }
    text.Append(" flags(");
    text.AppendHex(flags, 8);
    text.Append(") address(");
    text.AppendPointer(address);
    text.Append(")");
    return text.Length();
}

uint32_t FaultCodeOf(int signal, int signalCode, bool stackOverflow) {
    switch (signal) {
    case SIGSEGV:
        return stackOverflow ? kStackOverflow : kAccessViolation;
    case SIGBUS:
        return signalCode == BUS_ADRALN ? kMisaligned : kPageError;
    case SIGILL:
        return signalCode == ILL_PRVOPC || signalCode == ILL_PRVREG ? kPrivilegedInstruction
                                                                     : kIllegalInstruction;
    case SIGTRAP:
        return signalCode == TRAP_TRACE ? kSingleStep : kBreakpoint;
    case SIGFPE:
        for (const FpeRow& row : kFpeCodes) {
            if (row.signalCode == signalCode) return row.code;
        }
        return kFloatMultipleFaults;
    default:
        return kAccessViolation;
    }
}

// The alternate stack is not cleared: its pages are only touched when a fault
// arrives, so a run without faults never pays for them.
CFaultHandlers::CFaultHandlers() : stack_(std::make_unique_for_overwrite<char[]>(kAltStackSize)) {
    RecordStackBounds();
    stack_t stack{};
    stack.ss_sp = stack_.get();
    stack.ss_size = kAltStackSize;
    sigaltstack(&stack, &previousStack_);
    struct sigaction action {};
    action.sa_sigaction = OnFault;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < kSignalCount; ++i) sigaction(kSignals[i], &action, &previous_[i]);
    struct sigaction abortAction {};
    abortAction.sa_handler = OnAbort;
    abortAction.sa_flags = SA_ONSTACK;
    sigemptyset(&abortAction.sa_mask);
    sigaction(SIGABRT, &abortAction, &previousAbort_);
}

CFaultHandlers::~CFaultHandlers() {
    sigaction(SIGABRT, &previousAbort_, nullptr);
    for (size_t i = 0; i < kSignalCount; ++i) sigaction(kSignals[i], &previous_[i], nullptr);
    sigaltstack(&previousStack_, nullptr);
}
