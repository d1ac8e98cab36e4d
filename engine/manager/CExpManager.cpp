#include "engine/manager/CExpManager.h"

#include <array>
#include <new>
#include <span>
#include <string_view>

#include "base/CIError.h"
#include "engine/builtins/BuiltinTable.h"
#include "engine/items/CExpDeclaration.h"
#include "engine/items/CExpFunction.h"
#include "engine/items/CExpression.h"
#include "engine/lexer/CLexer.h"
#include "engine/lexer/Keywords.h"
#include "platform/LineInput.h"
#include "value/CTextError.h"

CExpManager::CExpManager() { RegisterBuiltins(); }

// The line's items go first: they may refer to the persistent ones.
CExpManager::~CExpManager() { workspace_.Reset({}); }

void CExpManager::ResetLine(const std::string& text) {
    statement_ = nullptr;
    // The lexer keeps its own copy of the line, which lives until the next.
    workspace_.Reset(text);
    source_.Restart();
    context_.Clear();
    notes_.Clear();
    parseFailed_ = false;
}

void CExpManager::RegisterBuiltins() {
    for (const BuiltinRow& row : BuiltinTable()) {
        const std::span<const FunctionParam> params = row.Params();
        functions_.push_back(std::make_unique<CExpFunction>(row.id, row.name, row.resultType,
                                                            std::vector<FunctionParam>(params.begin(), params.end())));
        scope_.Define(functions_.back().get());
    }
}

bool CExpManager::LoadInclude(const std::string& path, const LineFailureHandler& onLineFailure) {
    ResetLine({});
    // The built-ins made by the constructor stay; everything the language
    // defined goes.
    scope_.ForgetAll();
    functions_.resize(BuiltinTable().size());
    declarations_.clear();
    for (const auto& function : functions_) scope_.Define(function.get());
    return AddInclude(path, onLineFailure);
}

namespace {

// Editors on some systems start a UTF-8 file with it; it is no program text.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

bool CExpManager::AddInclude(const std::string& path, const LineFailureHandler& onLineFailure) {
    const FileHandle file = OpenRegularFile(path);
    if (!file) return false;
    CLineInput input(file.get());
    std::string line;
    for (bool first = true;; first = false) {
        // A line that runs out of memory, even before it is read whole, is
        // dropped alone: the lines after it still take effect.
        try {
            if (!input.Read(line)) break;
            if (first && line.starts_with(kByteOrderMark)) line.erase(0, kByteOrderMark.size());
            // Lines reach the parser with their line end, as a text-mode read
            // delivers them: "\r\n" becomes "\n".
            if (line.ends_with("\r\n")) line.erase(line.size() - 2, 1);
            Parse(line);
        } catch (const CTextError&) {
            // An include line that fails has no effect and shows nothing.
        } catch (const std::bad_alloc&) {
            if (onLineFailure) onLineFailure(std::current_exception());
        } catch (const CIError& error) {
            if (!IsOutOfRoom(error)) throw;
            if (onLineFailure) onLineFailure(std::current_exception());
        }
    }
    return true;
}

// Definitions and declarations begin with a type word (or "void"); a line
// that does not is an expression, and the two are not tried at all.
bool CExpManager::StartsWithTypeWord() {
    const std::string_view word = source_.Name();
    return !word.empty() && (TypeCodeOf(word) != 0 || word == "void");
}

// True when the line, without white space at both ends, is longer than the
// position the parse reached: something was left unread.
bool CExpManager::LeavesText() const {
    const std::string_view line = source_.Line();
    size_t begin = 0;
    size_t end = line.size();
    while (begin < end && IsBlank(static_cast<unsigned char>(line[begin]))) ++begin;
    while (end > begin && IsBlank(static_cast<unsigned char>(line[end - 1]))) --end;
    return static_cast<int>(end - begin) > source_.position;
}

// A definition or declaration is complete when it recorded no diagnostic and
// left no text behind.
bool CExpManager::Complete() {
    if (source_.HasDiag()) return false;
    if (LeavesText()) {
        source_.AddDiag(source_.position, Diag::SyntaxError);
        return false;
    }
    return true;
}

CExpManager::Outcome CExpManager::ParseFunctionDefinition() {
    const CursorMark start = source_.Save();
    auto function = std::make_unique<CExpFunction>();
    function->SetParent(&scope_);
    if (!function->Parse(source_)) {
        source_.Restore(start);
        return Outcome::NotRecognised;
    }
    if (!Complete()) return Outcome::Failed;
    function->DropLineItems();
    // Stored before it is named, so that running out of memory on the way
    // can never leave the scope naming an item that is gone.
    functions_.push_back(std::move(function));
    scope_.Define(functions_.back().get());
    return Outcome::Accepted;
}

CExpManager::Outcome CExpManager::ParseDeclaration() {
    const CursorMark start = source_.Save();
    auto* declaration = workspace_.New<CExpDeclaration>();
    declaration->SetParent(&scope_);
    if (!declaration->Parse(source_)) {
        source_.Restore(start);
        return Outcome::NotRecognised;
    }
    if (!Complete()) return Outcome::Failed;
    // A declaration runs once, now, to create its variables; the value and
    // diagnostics of that run are not shown. If it raises the value model's
    // error the declarators go with the line, which so leaves no trace.
    CExpContext scratch;
    scratch.notes = context_.notes;
    declaration->Execute(scratch);
    // Each declarator is stored before it is named, so that running out of
    // memory on the way can never leave the scope naming an item that is gone.
    for (auto& declarator : declaration->TakeDeclarators()) {
        declarator->DropLineItems();
        declarations_.push_back(std::move(declarator));
        scope_.Define(declarations_.back().get());
    }
    return Outcome::Accepted;
}

bool CExpManager::ParseStatement() {
    statement_ = workspace_.New<CExpression>();
    statement_->SetParent(&scope_);
    statement_->ParseExpression(source_, false);
    if (source_.HasDiag()) return false;
    if (!source_.AtEnd()) {
        source_.AddDiag(source_.position, Diag::SyntaxError);
        return false;
    }
    return true;
}

int CExpManager::ExpressionType(std::string_view text) const {
    // A workspace of its own, so the current line's tokens, items and
    // diagnostics stay as they are.
    ParseWorkspace workspace;
    workspace.Reset(text);
    CExpSource source(workspace);
    auto* expression = workspace.New<CExpression>();
    // The scope is only looked up in while the text is read.
    expression->SetParent(const_cast<CExpScope*>(&scope_));
    expression->ParseExpression(source, false);
    if (source.HasDiag() || !source.AtEnd()) return 0;
    return expression->ValueType();
}

bool CExpManager::ParseLine() {
    if (StartsWithTypeWord()) {
        switch (ParseFunctionDefinition()) {
            case Outcome::Accepted: return true;
            case Outcome::Failed: return false;
            case Outcome::NotRecognised: break;
        }
        switch (ParseDeclaration()) {
            case Outcome::Accepted: return true;
            case Outcome::Failed: return false;
            case Outcome::NotRecognised: break;
        }
    }
    return ParseStatement();
}

bool CExpManager::Parse(const std::string& text) {
    ResetLine(text);
    parseFailed_ = !ParseLine();
    return !parseFailed_;
}

void CExpManager::PrefetchNamesAhead(std::string_view ahead) {
    const CNameIndex& index = scope_.Names();
    if (!index.IsLarge()) return;
    for (const uint32_t fetched : std::span(slotsFetched_).first(slotsFetchedCount_)) index.PrefetchItem(fetched);
    slotsFetchedCount_ = 0;
    // The line after the next, when it is all there.
    const size_t next = ahead.find('\n');
    if (next == std::string_view::npos) return;
    const std::string_view after = ahead.substr(next + 1);
    const size_t end = after.find('\n');
    if (end == std::string_view::npos) return;
    std::array<std::string_view, kNamesFetchedAhead> names;
    const size_t count = CLexer::NamesIn(after.substr(0, end), names);
    for (size_t i = 0; i < count; ++i) slotsFetched_[i] = index.PrefetchSlot(names[i]);
    slotsFetchedCount_ = count;
}

bool CExpManager::Execute(CValueData& result) {
    if (parseFailed_) return false;
    context_.Clear();
    const bool executed = statement_ == nullptr || statement_->Execute(context_);
    // The context's value is not looked at again: it is handed over whole.
    result = std::move(context_.value);
    return executed;
}
