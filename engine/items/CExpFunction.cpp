#include "engine/items/CExpFunction.h"

#include "engine/items/CExpDeclaration.h"
#include "engine/items/CExpVariable.h"
#include "engine/items/CExpression.h"
#include "engine/lexer/Keywords.h"

namespace {

// The result type of a definition: a type word, or "void" for none; -1 when
// the word is neither.
int ResultTypeOf(std::string_view word) {
    if (word == "void") return 0;
    const int code = TypeCodeOf(word);
    return code == 0 ? -1 : code;
}

bool AtEllipsis(const CExpSource& source) {
    return source.Line().substr(static_cast<size_t>(source.position)).starts_with("...");
}

}  // namespace

CExpFunction::CExpFunction(int number, const char* name, int resultType, std::vector<FunctionParam> params)
    : CExpItem(EXP_FUNCTION), number_(number), resultType_(resultType), params_(std::move(params)), name_(name) {}

bool CExpFunction::Parse(CExpSource& source) {
    if (!ParseHead(source)) return false;
    number_ = kUserFunction;
    params_.clear();
    ParseParameters(source);
    source.SkipBlanks();
    if (!source.At(TokenKind::RParen)) {
        source.AddDiag(source.position, Diag::FunctionMissingParen);
        return true;
    }
    source.Advance();
    ParseBody(source);
    return true;
}

void CExpFunction::DropLineItems() {
    children_.clear();
    children_.shrink_to_fit();
    parameterNames_.clear();
    SetParent(nullptr);
}

// Until the "(" is seen nothing is committed: a line that turns out to be no
// definition must leave neither a diagnostic nor a moved cursor behind.
bool CExpFunction::ParseHead(CExpSource& source) {
    CExpSource probe = source;
    probe.SkipBlanks();
    if (probe.AtEnd()) return false;
    SetPosition(probe.position);
    const std::string_view typeWord = probe.Name();
    if (typeWord.empty() || ResultTypeOf(typeWord) < 0) return false;
    probe.Advance();
    probe.SkipBlanks();
    const std::string_view name = probe.Name();
    // A visible name or a reserved word is left to the other line kinds,
    // which report the clash; a function named "false" would otherwise hide
    // the literal for the rest of the run.
    if (name.empty() || IsReserved(name) || Lookup(name) != nullptr) return false;
    probe.Advance();
    probe.SkipBlanks();
    if (!probe.At(TokenKind::LParen)) return false;
    resultType_ = ResultTypeOf(typeWord);
    name_ = name;
    probe.Advance();
    source.index = probe.index;
    source.position = probe.position;
    return true;
}

void CExpFunction::ParseParameters(CExpSource& source) {
    while (true) {
        source.SkipBlanks();
        if (source.AtEnd()) return;
        if (AtEllipsis(source)) {
            // Three dots are three tokens of their own, unless the last
            // begins a number («...5»): reading goes on right after them.
            source.ResumeAt(source.position + 3);
            params_.push_back({0, false, true});
        } else if (!ParseDeclaredParameter(source)) {
            return;
        }
        source.SkipBlanks();
        if (!source.AtOperator(OP_COMMA)) return;
        if (params_.back().variadic) source.AddDiag(source.position, Diag::VariadicNotLast);
        source.Advance();
    }
}

bool CExpFunction::ParseDeclaredParameter(CExpSource& source) {
    auto* declaration = source.Workspace().New<CExpDeclaration>();
    declaration->SetParent(this);
    declaration->SetParameter();
    if (!declaration->Parse(source)) return false;
    FunctionParam param{declaration->ValueType(), false, false};
    if (declaration->ChildCount() > 1) {
        source.AddDiag(declaration->Child(1)->Position(), Diag::ParameterNeedsType);
    }
    if (declaration->ChildCount() > 0) {
        const CExpItem* first = declaration->Child(0);
        if (first->Kind() == EXP_VARARRAY) {
            source.AddDiag(first->Position(), Diag::ArrayParameter);
        } else if (first->Kind() == EXP_VARIABLE) {
            param.byReference = static_cast<const CExpVariable*>(first)->IsReference();
        }
    }
    children_.push_back(declaration);
    for (size_t i = 0; i < declaration->ChildCount(); ++i) {
        CExpItem* declarator = declaration->Child(i);
        parameterNames_.try_emplace(declarator->Name(), declarator);
    }
    params_.push_back(param);
    return true;
}

CExpItem* CExpFunction::MatchChildBefore(std::string_view name, const CExpItem*) const {
    auto it = parameterNames_.find(name);
    return it == parameterNames_.end() ? nullptr : it->second;
}

// The body runs to the end of the expression, commas included.
void CExpFunction::ParseBody(CExpSource& source) {
    auto* body = source.Workspace().New<CExpression>();
    body->SetParent(this);
    if (body->ParseExpression(source, false)) {
        children_.push_back(body);
    } else if (!source.HasDiag()) {
        // With a diagnostic on the line the body was either not read (an
        // earlier fault stops the scan) or reported its own fault: it is
        // not missing.
        source.AddDiag(source.position, Diag::BodyMissing);
    }
}

std::string CExpFunction::Text() const {
    std::string text = resultType_ == 0 ? "void " : TypeNameOf(resultType_) + " ";
    text += name_ + "(";
    for (size_t i = 0; i < params_.size(); ++i) {
        if (i > 0) text += ", ";
        const FunctionParam& param = params_[i];
        text += param.variadic ? "..." : TypeNameOf(param.type) + (param.byReference ? "&" : "");
    }
    return text + ")";
}
