#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/items/CExpContext.h"
#include "engine/items/CExpItem.h"
#include "engine/items/CExpSource.h"
#include "engine/manager/CExpScope.h"

class CExpression;

// Owns everything that survives from one line to the next (the functions,
// built-ins first, and the declared variables and arrays) and everything of
// the current line (its text, tokens and items, cursor, statement tree and
// execution context).
class CExpManager {
public:
    CExpManager();
    ~CExpManager();
    CExpManager(const CExpManager&) = delete;
    CExpManager& operator=(const CExpManager&) = delete;

    // Told of an include line dropped because memory ran out.
    using LineFailureHandler = std::function<void(const std::exception_ptr&)>;

    // Registers the built-ins, then parses every line of the file. False when
    // the file cannot be opened or is not a regular file (the built-ins exist
    // all the same).
    bool LoadInclude(const std::string& path, const LineFailureHandler& onLineFailure = {});
    // Parses every line of the file, keeping what is already defined.
    bool AddInclude(const std::string& path, const LineFailureHandler& onLineFailure = {});
    // True when the line parsed without any diagnostic.
    bool Parse(const std::string& text);
    // What the parse of the current line recorded, oldest first.
    std::span<const CExpDiag> ParseDiagnostics() const { return source_.diags.All(); }
    // Called for each line read, with the text after it that the reader
    // already holds. Starts fetching, while the line runs, what the lines
    // ahead will read to look up their names: the slots of the names of the
    // line after the next, and the items of the next line's names, whose
    // slots the call before fetched. Only among many names, where each
    // lookup would wait for memory; among a few it costs nothing.
    void PrefetchNamesAhead(std::string_view ahead);
    // Executes the current statement tree; hands its value over to result.
    bool Execute(CValueData& result);
    // What the last Execute recorded, oldest first.
    std::span<const CExpDiag> ExecDiagnostics() const { return context_.diags.All(); }

    // Whether the lines from now on note the values they change without a
    // diagnostic (off by default: only a person reads them, and a session
    // that will not show them spends nothing on them).
    void KeepValueNotes(bool on) {
        CValueNoteList* notes = on ? &notes_ : nullptr;
        context_.notes = notes;
        workspace_.notes = notes;
        // The literal pass notes nothing; the builder comes to the same
        // values, noting on the way.
        workspace_.expressions.literalPass = !on;
    }
    // What the current line noted while it was read and run, in the order
    // met; meaningful for a line that parsed and ran without a diagnostic.
    const CValueNoteList& ValueNotes() const { return notes_; }

    // Whether pure parts of a line are worked out while it is read (the
    // default); the fuzz target compares both.
    void SetFolding(bool on) { workspace_.expressions.folding = on; }

    const std::vector<std::unique_ptr<CExpItem>>& Functions() const { return functions_; }
    // The declared variables and arrays, in the order they were declared.
    const std::vector<std::unique_ptr<CExpItem>>& Declarations() const { return declarations_; }
    // The function, variable or array the session knows by name, or null.
    const CExpItem* Find(std::string_view name) const { return scope_.Lookup(name); }
    // The tree of the last expression line; null after a definition or a
    // declaration.
    const CExpression* Statement() const { return statement_; }
    // The type of the value text would have as an expression line, read as
    // such a line is read (names looked up, pure parts worked out) but never
    // run: nothing changes, the current line included. 0 when the text does
    // not read as one expression without a diagnostic.
    int ExpressionType(std::string_view text) const;

private:
    void RegisterBuiltins();
    void ResetLine(const std::string& text);
    // The alternatives of a line, tried in this order. A definition and a
    // declaration are parsed out of line: most lines are expressions, and
    // their parse need not carry the code of the other two.
    enum class Outcome { NotRecognised, Accepted, Failed };
    [[gnu::noinline]] Outcome ParseFunctionDefinition();
    [[gnu::noinline]] Outcome ParseDeclaration();
    // The line as a definition, a declaration or an expression; false when
    // it failed.
    bool ParseLine();
    bool ParseStatement();
    bool StartsWithTypeWord();
    bool LeavesText() const;
    bool Complete();

    ParseWorkspace workspace_;
    CExpSource source_{workspace_};
    CExpContext context_;
    CValueNoteList notes_;
    CExpression* statement_ = nullptr;
    bool parseFailed_ = false;
    std::vector<std::unique_ptr<CExpItem>> functions_;
    std::vector<std::unique_ptr<CExpItem>> declarations_;
    CExpScope scope_;
    // What the last PrefetchNamesAhead fetched the slots of, for the next
    // one to fetch the items: a line mentions a few names, and the rare one
    // with more is fetched in part.
    static constexpr size_t kNamesFetchedAhead = 16;
    std::array<uint32_t, kNamesFetchedAhead> slotsFetched_{};
    size_t slotsFetchedCount_ = 0;
};
