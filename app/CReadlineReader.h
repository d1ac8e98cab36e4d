#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/CHistoryFile.h"
#include "app/CLineReader.h"

// Line editing at a terminal with GNU readline: history kept across runs,
// tab completion of built-ins and user functions (with their "("),
// variables and console commands, and Ctrl-C abandoning the line being
// typed. Readline's alternate (callback) interface is used so that Ctrl-C is
// handled outside the signal handler, where readline may be called safely.
class CReadlineReader final : public CLineReader {
public:
    CReadlineReader(const CConsoleOutput& output, const CExpManager& manager);
    ~CReadlineReader() override;
    CReadlineReader(const CReadlineReader&) = delete;
    CReadlineReader& operator=(const CReadlineReader&) = delete;

    bool Read(std::string_view prompt, std::string& line) override;

private:
    // The prompt with its colour; readline must be told (\001 \002) which
    // bytes take no room on the screen.
    std::string MarkedPrompt(std::string_view prompt) const;
    std::vector<std::string> CompletionWords() const;
    void AbandonLine();

    static void OnLine(char* line);
    static char** Complete(const char* text, int start, int end);
    static char* NextMatch(const char* text, int state);

    const CConsoleOutput& output_;
    const CExpManager& manager_;
    CHistoryFile history_;
    std::optional<std::string> line_;
    bool lineDone_ = false;
    std::vector<std::string> matches_;
    size_t nextMatch_ = 0;
};
