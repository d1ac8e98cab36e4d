#include "engine/CExpManager.h"

#include <cctype>
#include <new>
#include <string_view>

#include "base/CIError.h"
#include "engine/BuiltinTable.h"
#include "engine/CExpFunction.h"
#include "engine/CExpType.h"
#include "engine/CExpression.h"
#include "engine/Diagnostics.h"
#include "engine/ParseHelpers.h"
#include "platform/LineInput.h"
#include "value/CTextError.h"

CExpManager::CExpManager() { RegisterBuiltins(); }

CExpManager::~CExpManager() {
    ResetLine();
    functions_.clear();
    declarations_.clear();
}

void CExpManager::ResetLine() {
    statement_.reset();
    context_ = CExpContext{};
    source_ = CExpSource{};
    parseFailed_ = false;
    quickLine_ = false;
}

void CExpManager::RegisterBuiltins() {
    const std::vector<BuiltinRow>& table = BuiltinTable();
    for (size_t number = 0; number < table.size(); ++number) {
        const BuiltinRow& row = table[number];
        functions_.push_back(std::make_unique<CExpFunction>(static_cast<int>(number), row.name,
                                                            row.resultType, row.params));
        scope_.Define(row.name, functions_.back().get());
    }
}

namespace {

// Editors on some systems start a UTF-8 file with it; it is no program text.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

bool CExpManager::LoadInclude(const std::string& path, const LineFailureHandler& onLineFailure) {
    ResetLine();
    // The built-ins made by the constructor stay; everything the language
    // defined goes.
    functions_.resize(BuiltinTable().size());
    declarations_.clear();
    scope_.ForgetAll();
    for (const auto& function : functions_) scope_.Define(function->Name(), function.get());

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
        } catch (const CIMemoryError&) {
            if (onLineFailure) onLineFailure(std::current_exception());
        }
    }
    return true;
}

// Definitions and declarations begin with a type word (or "void"); a line
// that does not is an expression, and the two are not tried at all.
bool CExpManager::StartsWithTypeWord(const std::string& text) const {
    CExpSource probe;
    SkipBlanks(probe, text);
    const std::string_view word = IdentifierAt(probe, text);
    if (word.empty()) return false;
    return TypeCodeOf(word) != 0 || word == "void";
}

// True when text, without white space at both ends, is longer than the
// position the parse reached: something was left unread.
bool CExpManager::LeavesText(const std::string& text) const {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && IsBlank(static_cast<unsigned char>(text[end - 1]))) --end;
    return static_cast<int>(end - begin) > source_.position;
}

CExpManager::Outcome CExpManager::ParseFunctionDefinition(const std::string& text) {
    const CExpSource saved = source_;
    auto function = MakeCandidate<CExpFunction>(&scope_);
    if (!function->Parse(source_, text)) {
        source_ = saved;
        return Outcome::NotRecognised;
    }
    if (source_.HasDiag()) return Outcome::Failed;
    if (LeavesText(text)) {
        source_.AddDiag(source_.position, EXP_LINE, 1);
        return Outcome::Failed;
    }
    function->SetParent(nullptr);
    scope_.Define(function->Name(), function.get());
    functions_.push_back(std::move(function));
    return Outcome::Accepted;
}

CExpManager::Outcome CExpManager::ParseDeclaration(const std::string& text) {
    const CExpSource saved = source_;
    auto declaration = MakeCandidate<CExpType>(&scope_);
    if (!declaration->Parse(source_, text)) {
        source_ = saved;
        return Outcome::NotRecognised;
    }
    if (source_.HasDiag()) return Outcome::Failed;
    if (LeavesText(text)) {
        source_.AddDiag(source_.position, EXP_LINE, 1);
        return Outcome::Failed;
    }
    // A declaration runs once, now, to create its variables; the value and
    // diagnostics of that run are not shown. If it raises the value model's
    // error the declaration is dropped, so the failed line leaves no trace.
    CExpContext scratch;
    declaration->Execute(scratch);
    declaration->SetParent(nullptr);
    for (const auto& declarator : declaration->Children()) {
        if (declarator->DefinesName()) scope_.Define(declarator->Name(), declarator.get());
    }
    declarations_.push_back(std::move(declaration));
    return Outcome::Accepted;
}

void CExpManager::ParseStatement(const std::string& text) {
    statement_ = std::make_unique<CExpression>();
    statement_->SetParent(&scope_);
    statement_->ParseExpression(source_, text, false);
    if (source_.HasDiag()) {
        parseFailed_ = true;
    } else if (!AtEnd(source_, text)) {
        source_.AddDiag(source_.position, EXP_LINE, 1);
        parseFailed_ = true;
    }
}

bool CExpManager::Parse(const std::string& text) {
    ResetLine();
    // A definition or declaration starts with a type word, which the quick
    // evaluator declines at once, so it is offered the line first.
    if (quickLines_ && quick_.Evaluate(text, context_.value)) {
        quickLine_ = true;
        return true;
    }
    if (StartsWithTypeWord(text)) {
        if (ParseFunctionDefinition(text) == Outcome::Failed) return false;
        if (ParseDeclaration(text) == Outcome::Failed) return false;
    }
    ParseStatement(text);
    return !parseFailed_;
}

bool CExpManager::NextParseDiagnostic(std::string& text) {
    CExpDiag diag;
    if (!source_.diags.TakeOldest(diag)) return false;
    text = FormatDiagnostic(diag);
    return true;
}

bool CExpManager::Execute(CValueData& result) {
    if (quickLine_) {
        // Such a line has no effect but its value, so running it again gives
        // the same value.
        result.Assign(context_.value);
        return true;
    }
    if (!statement_ || parseFailed_) return false;
    context_ = CExpContext{};
    const bool executed = statement_->Execute(context_);
    result.Assign(context_.value);
    return executed;
}

bool CExpManager::NextExecDiagnostic(std::string& text) {
    CExpDiag diag;
    if (!context_.diags.TakeOldest(diag)) return false;
    text = FormatDiagnostic(diag);
    return true;
}
