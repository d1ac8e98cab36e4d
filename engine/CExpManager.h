#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/CExpDiag.h"
#include "engine/CExpItem.h"
#include "engine/CExpScope.h"
#include "engine/CQuickEvaluator.h"

class CExpression;

// Owns everything that survives from one line to the next (the functions,
// built-ins first, and the declarations with their variables) and everything
// of the current line (cursor, context, statement tree).
class CExpManager {
public:
    CExpManager();
    ~CExpManager();

    // Told of an include line dropped because memory ran out.
    using LineFailureHandler = std::function<void(const std::exception_ptr&)>;

    // Registers the built-ins, then parses every line of the file. False when
    // the file cannot be opened or is not a regular file (the built-ins exist
    // all the same).
    bool LoadInclude(const std::string& path, const LineFailureHandler& onLineFailure = {});
    // True when the line parsed without any diagnostic.
    bool Parse(const std::string& text);
    bool NextParseDiagnostic(std::string& text);
    // Executes the current statement tree; copies its value into result.
    bool Execute(CValueData& result);
    bool NextExecDiagnostic(std::string& text);

    // With quick lines off every line goes through the full parser; the two
    // ways must give the same results, which the tests compare.
    void SetQuickLines(bool on) { quickLines_ = on; }

    const std::vector<std::unique_ptr<CExpItem>>& Functions() const { return functions_; }
    // The persistent names, as the outermost scope of every line sees them.
    const CExpScope& Scope() const { return scope_; }
    const std::vector<std::unique_ptr<CExpItem>>& Declarations() const { return declarations_; }

private:
    void RegisterBuiltins();
    void ResetLine();
    // The alternatives of a line, tried in this order.
    enum class Outcome { NotRecognised, Accepted, Failed };
    Outcome ParseFunctionDefinition(const std::string& text);
    Outcome ParseDeclaration(const std::string& text);
    void ParseStatement(const std::string& text);
    bool StartsWithTypeWord(const std::string& text) const;
    bool LeavesText(const std::string& text) const;

    CExpSource source_;
    CExpContext context_;
    std::unique_ptr<CExpression> statement_;
    bool parseFailed_ = false;
    // The line was evaluated as it was read; its value is waiting in context_.
    bool quickLine_ = false;
    bool quickLines_ = true;
    std::vector<std::unique_ptr<CExpItem>> functions_;
    std::vector<std::unique_ptr<CExpItem>> declarations_;
    CExpScope scope_;
    CQuickEvaluator quick_{scope_};
};
