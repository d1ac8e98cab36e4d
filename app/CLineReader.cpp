#include "app/CLineReader.h"

#include <unistd.h>

#include "app/CStdioLineReader.h"
#include "platform/LineInput.h"
#include "platform/StandardStreams.h"
#include "platform/TerminationSignals.h"
#include "platform/Terminal.h"

#ifdef NUMORA_HAVE_READLINE
#include "app/CReadlineReader.h"
#endif

std::unique_ptr<CLineReader> MakeLineReader(const CConsoleOutput& output,
                                            const CExpManager& manager) {
#ifdef NUMORA_HAVE_READLINE
    if (IsTerminal(STDIN_FILENO) && IsTerminal(STDOUT_FILENO)) {
        return std::make_unique<CReadlineReader>(output, manager);
    }
#else
    (void)manager;
#endif
    return std::make_unique<CStdioLineReader>(output);
}

bool CLineReader::ReadyForLine(FILE* input) {
    if (PendingTerminationSignal() != 0 || !CheckStandardOutput()) return false;
    if (InputWouldWait(input) && !FlushStandardOutput()) return false;
    // A signal that came before the flush found results unwritten and was
    // kept; one that comes later ends the run itself.
    return PendingTerminationSignal() == 0;
}

CLineReader::NextLine CLineReader::ReadFrom(FILE* stream, CLineInput& input, std::string& line) {
    // A line already in the stream's buffer is read without a wait, and
    // with output left in its buffer (ReadyForLine).
    if (PendingTerminationSignal() != 0 || !CheckStandardOutput()) return NextLine::Stop;
    if (!input.ReadBuffered(line)) {
        if (!ReadyForLine(stream)) return NextLine::Stop;
        // A pipe's next line can keep the run waiting.
        const CInputWait wait;
        if (!input.Read(line)) return NextLine::None;
    }
    if (!line.empty() && line.back() == '\n') line.pop_back();
    return NextLine::Read;
}
