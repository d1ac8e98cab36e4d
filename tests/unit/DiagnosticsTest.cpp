#include "engine/Diagnostics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ManualLines() {
    std::ifstream page(NUMORA_SOURCE_DIR "/app/numora.1");
    std::vector<std::string> lines;
    for (std::string line; std::getline(page, line);) lines.push_back(line);
    return lines;
}

// The English text as the manual page writes it: the word in braces in
// italics, backslashes and hyphens escaped.
std::string AsManualText(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '\\') {
            escaped += "\\e";
        } else if (c == '-') {
            escaped += "\\-";
        } else {
            escaped += c;
        }
    }
    return "\\(em " + std::regex_replace(escaped, std::regex(R"(\{([a-z]+)\})"), R"(\fI$1\fP)");
}

std::string Code(Diag diag) { return std::to_string(DiagMajor(diag)) + "." + std::to_string(DiagMinor(diag)); }

// The English lines of the entry whose head is lines[head]: one or more
// "\(em ..." lines, a ".br" after each, before the explanation.
std::vector<std::string> EnglishOfEntry(const std::vector<std::string>& lines, size_t head) {
    std::vector<std::string> english;
    for (size_t n = head + 1; n < lines.size() && lines[n].starts_with("\\(em "); n += 2) english.push_back(lines[n]);
    return english;
}

}  // namespace

// The text at the position takes the place of the word in braces; without
// it, the quoted word goes with the blank before it.
TEST(DiagnosticEnglish, EveryDiagnosticHasOneAndItsPlaceForTheTextIsQuoted) {
    const std::regex placeholder(R"(\{[a-z]+\})");
    for (int i = 0; i < static_cast<int>(Diag::Count); ++i) {
        const std::string english = DiagEnglish(static_cast<Diag>(i));
        ASSERT_FALSE(english.empty()) << Code(static_cast<Diag>(i));
        for (auto it = std::sregex_iterator(english.begin(), english.end(), placeholder); it != std::sregex_iterator();
             ++it) {
            const size_t at = static_cast<size_t>(it->position());
            EXPECT_TRUE(at >= 2 && english.substr(at - 2, 2) == " \"" && english[at + it->length()] == '"')
                << english;
        }
    }
}

// The manual page says the same words: each diagnostic's entry in
// DIAGNOSTICS, under its code and its design text, begins with them (with
// each of them, where diagnostics that share a code differ in English).
TEST(DiagnosticEnglish, TheManualPageSaysTheSameWords) {
    const std::vector<std::string> lines = ManualLines();
    ASSERT_FALSE(lines.empty()) << "app/numora.1 not found";
    for (int i = 0; i < static_cast<int>(Diag::Count); ++i) {
        const Diag diag = static_cast<Diag>(i);
        const std::string code = Code(diag);
        const std::string text = DiagText(diag) ? DiagText(diag) : "未定義のメッセージ(" + code + ")";
        bool found = false;
        for (size_t n = 0; n + 1 < lines.size() && !found; ++n) {
            const std::string& line = lines[n];
            const std::string quoted = "\" " + text + "\"";
            const bool heads = line.starts_with(".BR " + code + " " + quoted) ||
                               (line.starts_with(".BR ") && line.find(quoted) != std::string::npos &&
                                line.ends_with("\", \" " + code));
            if (!heads) continue;
            found = true;
            const std::vector<std::string> english = EnglishOfEntry(lines, n);
            EXPECT_NE(std::find(english.begin(), english.end(), AsManualText(DiagEnglish(diag))), english.end())
                << code << ": " << DiagEnglish(diag);
        }
        EXPECT_TRUE(found) << "no entry for " << code << " " << text;
    }
}
