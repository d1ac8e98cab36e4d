#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/FrontEndSettings.h"

class CLineReader;

// Writes the lines that report on a line of input, on standard error. A
// program reading them gets the design's texts; in a script file each is
// preceded by where the line came from ("calc.num:3: "); a person at a
// terminal who does not read Japanese also gets each text's meaning in
// English, and hints and notes of its own, folded to the terminal's width.
class CReportWriter {
public:
    // Looks at standard error and the locale once, for the whole run.
    explicit CReportWriter(const FrontEndSettings& settings);

    // The reader of the lines reported on, which knows where each comes from.
    void ReportOn(const CLineReader* reader) { reader_ = reader; }

    // Standard error is a terminal and the session is not silent: what
    // numora adds for a person (the start-up line, the caret line) is shown.
    // A program reading a redirected standard error gets the design's lines.
    bool ToPerson() const { return personReads_ && !settings_.silent; }
    // And the locale is not Japanese: English is added.
    bool English() const { return ToPerson() && !japanese_; }

    // The design's text of a fault, and after it its English meaning.
    void Fault(std::string_view text, std::string_view english) const;
    // A line in English alone ("hint: …", "note: …"); nothing unless
    // English(). The phrases of unbroken (lines a hint proposes) are kept
    // on one line of the screen where they fit on one.
    void Advice(std::string_view text, std::span<const std::string> unbroken = {}) const;
    // A line numora writes for a person (the start-up line): in English,
    // folded likewise; in Japanese, whose words have no blanks between them
    // to fold at, whole. Nothing unless ToPerson().
    void ToPersonLine(std::string_view english, std::string_view japanese) const;

private:
    std::string Origin() const;
    void WriteFolded(std::string_view head, std::string_view english, std::span<const std::string> unbroken) const;

    const FrontEndSettings& settings_;
    bool personReads_;
    bool japanese_;
    const CLineReader* reader_ = nullptr;
};

// The lines of a report at a terminal width columns wide: head first, whole
// however wide it is (it holds the design's text), then the words of text
// after it, folded at blanks; each line after the first is indented. A
// phrase of unbroken is cut only when it is wider than a line, and a word
// wider than a line stands alone on one.
std::vector<std::string> FoldedLines(std::string_view head, std::string_view text, size_t width,
                                     std::span<const std::string> unbroken = {});
