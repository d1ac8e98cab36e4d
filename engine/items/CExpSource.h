#pragma once

#include <string_view>

#include "engine/Diagnostics.h"
#include "engine/items/CursorState.h"
#include "engine/items/ParseWorkspace.h"
#include "engine/lexer/OperatorTable.h"

// The parse cursor handed to every Parse and Check: where the parser stands
// in the line's tokens, and the diagnostics found so far. The cursor is a
// token index; position is the byte offset diagnostics point at, either the
// end of the token just read or, once blanks are skipped, the start of the
// next one. A copy of the cursor is a probe: what it reads and records is
// forgotten with it. The line's tokens and the storage of its items are the
// workspace's, which the cursor only refers to.
class CExpSource : public CursorState {
public:
    explicit CExpSource(ParseWorkspace& workspace) : workspace_(&workspace) {}

    // Back to the start of a new line; the diagnostics' storage stays.
    void Restart() {
        static_cast<CursorState&>(*this) = CursorState();
        diags.Clear();
    }

    CursorMark Save() const { return {*this, diags.Count()}; }
    // Undoes everything read since the mark: the state, the diagnostics
    // recorded since, and the tokens cut anew by ResumeAt, which are cut
    // again from where the mark stood, as they were.
    void Restore(const CursorMark& mark) {
        if (resumes != mark.resumes) workspace_->lexer.RelexFrom(mark.index, static_cast<size_t>(mark.position));
        static_cast<CursorState&>(*this) = mark;
        diags.KeepFirst(mark.diagnostics);
    }

    CExpDiagList diags;

    // A record equal to the last one adds nothing: it arises when two item
    // classes are offered the same text and both skip the same unclosed
    // comment before refusing or taking it.
    void AddDiag(int pos, Diag id) {
        if (!diags.Empty() && diags.Last().position == pos && diags.Last().id == id) return;
        diags.Add(pos, id);
    }
    bool HasDiag() const { return !diags.Empty(); }

    Token Current() const { return workspace_->lexer.At(index); }
    // Moves over blanks and comments to the current token; true when the
    // position moved. Passing an unclosed comment records it.
    bool SkipBlanks() { return SkipBlanksBefore(Current()); }
    // The same, answering the current token.
    Token SkipToCurrent() {
        const Token token = Current();
        SkipBlanksBefore(token);
        return token;
    }
    // Moves past the current token.
    void Advance() { AdvancePast(Current()); }
    // The same, given the current token.
    void AdvancePast(const Token& current) {
        position = current.end;
        ++index;
    }
    bool AtEnd() const { return position >= static_cast<int>(workspace_->lexer.Line().size()); }
    bool At(TokenKind kind) const { return Current().kind == kind; }
    bool AtOperator(int code) const {
        const Token token = Current();
        return token.kind == TokenKind::Operator && OperatorRow(token.row).code == code;
    }
    // The name at the cursor, or an empty view when the current token is no
    // name; the cursor does not move.
    std::string_view Name() const {
        const Token token = Current();
        return token.kind == TokenKind::Name ? workspace_->lexer.TextOf(token) : std::string_view();
    }
    // Goes on at a byte offset inside the current token: the parser took
    // only its first part.
    void ResumeAt(int offset) {
        workspace_->lexer.RelexFrom(index, static_cast<size_t>(offset));
        position = offset;
        ++resumes;
    }
    // Records the faults of a malformed literal and moves past it.
    void TakeFaulty(const Token& token) {
        for (const LexFault& fault : workspace_->lexer.FaultsOf(token)) AddDiag(fault.position, fault.id);
        Advance();
    }

    CLexer& Lexer() const { return workspace_->lexer; }
    std::string_view Line() const { return workspace_->lexer.Line(); }
    ParseWorkspace& Workspace() const { return *workspace_; }

private:
    bool SkipBlanksBefore(const Token& token) {
        if (position >= token.start) return false;
        if (token.kind == TokenKind::End && token.payload >= position) AddDiag(token.payload, Diag::UnclosedComment);
        position = token.start;
        return true;
    }

    ParseWorkspace* workspace_;
};

namespace cursor_detail {

// The cursor as it is meant to be: the state that travels, the diagnostics
// and the workspace. A field added to CExpSource itself would not be saved
// and restored with the rest; it belongs in CursorState.
struct Travelling : CursorState {
    CExpDiagList diags;
    ParseWorkspace* workspace;
};

}  // namespace cursor_detail

static_assert(sizeof(CExpSource) == sizeof(cursor_detail::Travelling),
              "what a reading changes in the cursor is in CursorState, which Save and Restore take whole");

// Counts one more level of nesting in the cursor's depth for its lifetime:
// an expression, or a brace list, being parsed.
class NestingLevel {
public:
    explicit NestingLevel(CExpSource& source) : depth_(source.depth) { ++depth_; }
    ~NestingLevel() { --depth_; }
    NestingLevel(const NestingLevel&) = delete;
    NestingLevel& operator=(const NestingLevel&) = delete;

private:
    int& depth_;
};
