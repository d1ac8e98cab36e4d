#include "app/CReportWriter.h"

#include <unistd.h>

#include "app/CConsoleOutput.h"
#include "app/CLineReader.h"
#include "app/EnglishDiagnostic.h"
#include "platform/Terminal.h"

CReportWriter::CReportWriter(const FrontEndSettings& settings)
    : settings_(settings), personReads_(IsTerminal(STDERR_FILENO)), japanese_(LocaleIsJapanese()) {}

void CReportWriter::Fault(std::string_view text, std::string_view english) const {
    std::string line = Origin();
    line += text;
    if (English() && !english.empty()) {
        line += " \xE2\x80\x94 ";   // an em dash
        line += english;
    }
    WriteErrorLine(line);
}

void CReportWriter::Advice(std::string_view text) const {
    if (English()) WriteErrorLine(Origin() + std::string(text));
}

std::string CReportWriter::Origin() const {
    return reader_ != nullptr ? reader_->Origin() : std::string();
}
