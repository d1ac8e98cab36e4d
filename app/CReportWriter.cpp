#include "app/CReportWriter.h"

#include <unistd.h>

#include <algorithm>

#include "app/CConsoleOutput.h"
#include "app/CLineReader.h"
#include "app/CaretLine.h"
#include "app/EnglishDiagnostic.h"
#include "platform/Terminal.h"

namespace {

// The width of a terminal that does not tell its own.
constexpr size_t kDefaultColumns = 80;
// Continuation lines begin under the text after "hint: " and "note: ".
constexpr size_t kIndent = 6;

// The pieces a text is folded between: words, where a blank inside a
// phrase of unbroken joins its words into one piece.
std::vector<std::string_view> Pieces(std::string_view text, std::span<const std::string> unbroken) {
    std::vector<bool> joining(text.size(), false);
    for (const std::string& phrase : unbroken) {
        if (phrase.empty()) continue;
        for (size_t at = text.find(phrase); at != std::string_view::npos; at = text.find(phrase, at + 1)) {
            std::fill(joining.begin() + static_cast<std::ptrdiff_t>(at),
                      joining.begin() + static_cast<std::ptrdiff_t>(at + phrase.size()), true);
        }
    }
    std::vector<std::string_view> pieces;
    size_t start = 0;
    for (size_t at = 0; at <= text.size(); ++at) {
        if (at < text.size() && (text[at] != ' ' || joining[at])) continue;
        if (at > start) pieces.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    return pieces;
}

class Folder {
public:
    Folder(std::string_view head, size_t width) : line_(head), column_(DisplayWidth(head)), width_(width) {}

    void Place(std::string_view piece) {
        const size_t room = width_ > kIndent ? width_ - kIndent : 1;
        const size_t width = DisplayWidth(piece);
        if (width > room && piece.find(' ') != std::string_view::npos) {
            // A phrase wider than any line is cut at its blanks after all.
            for (std::string_view word : Pieces(piece, {})) Place(word);
            return;
        }
        const size_t blank = words_ > 0 ? 1 : 0;
        if (!line_.empty() && column_ + blank + width > width_) NewLine();
        if (words_ > 0) line_ += ' ';
        line_ += piece;
        column_ += (words_ > 0 ? 1 : 0) + width;
        ++words_;
    }

    std::vector<std::string> Lines() {
        End();
        return std::move(lines_);
    }

private:
    void NewLine() {
        End();
        line_.assign(kIndent, ' ');
        column_ = kIndent;
        words_ = 0;
    }
    void End() {
        while (!line_.empty() && line_.back() == ' ') line_.pop_back();
        lines_.push_back(std::move(line_));
    }

    std::vector<std::string> lines_;
    std::string line_;
    size_t column_;
    size_t width_;
    // The words on the line after its head or indent.
    size_t words_ = 0;
};

// The terminal's width as it is now.
size_t ErrorColumns() {
    int rows = 0;
    int columns = 0;
    return WindowSize(STDERR_FILENO, rows, columns) && columns > 0 ? static_cast<size_t>(columns) : kDefaultColumns;
}

}  // namespace

std::vector<std::string> FoldedLines(std::string_view head, std::string_view text, size_t width,
                                     std::span<const std::string> unbroken) {
    Folder folder(head, width);
    for (std::string_view piece : Pieces(text, unbroken)) folder.Place(piece);
    return folder.Lines();
}

CReportWriter::CReportWriter(const FrontEndSettings& settings)
    : settings_(settings), personReads_(IsTerminal(STDERR_FILENO)), japanese_(LocaleIsJapanese()) {}

void CReportWriter::Fault(std::string_view text, std::string_view english) const {
    std::string line = Origin();
    line += text;
    if (!English() || english.empty()) {
        WriteErrorLine(line);
        return;
    }
    line += " \xE2\x80\x94 ";   // an em dash
    WriteFolded(line, english, {});
}

void CReportWriter::Advice(std::string_view text, std::span<const std::string> unbroken) const {
    if (English()) WriteFolded(Origin(), text, unbroken);
}

void CReportWriter::ToPersonLine(std::string_view english, std::string_view japanese) const {
    if (English()) {
        WriteFolded({}, english, {});
    } else if (ToPerson()) {
        WriteErrorLine(japanese);
    }
}

void CReportWriter::WriteFolded(std::string_view head, std::string_view english,
                                std::span<const std::string> unbroken) const {
    std::string lines;
    for (const std::string& line : FoldedLines(head, english, ErrorColumns(), unbroken)) {
        if (!lines.empty()) lines += '\n';
        lines += line;
    }
    WriteErrorLine(lines);
}

std::string CReportWriter::Origin() const {
    return reader_ != nullptr ? reader_->Origin() : std::string();
}
