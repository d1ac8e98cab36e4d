#include "engine/CExpFunction.h"

#include "engine/CExpType.h"
#include "engine/CExpVariable.h"
#include "engine/CExpression.h"
#include "engine/ParseHelpers.h"

namespace {

constexpr int kMissingParen = 2;          // ") がありません"
constexpr int kParameterNeedsType = 3;    // "パラメータには型指定子が必要です"
constexpr int kBodyMissing = 4;           // "式が必要です"
constexpr int kVariadicNotLast = 6;       // "可変長パラメータは最後でなければなりません"
constexpr int kArrayParameter = 99;       // "現在は配列の引数は使用できません"

// The result type of a definition: a type word, or "void" for none; -1 when
// the word is neither.
int ResultTypeOf(const std::string& word) {
    if (word == "void") return 0;
    const int code = TypeCodeOf(word);
    return code == 0 ? -1 : code;
}

bool AtEllipsis(const CExpSource& source, const std::string& text) {
    return text.compare(source.position, 3, "...") == 0;
}

}  // namespace

CExpFunction::CExpFunction(int number, const char* name, int resultType, std::vector<FunctionParam> params)
    : CExpItem(EXP_FUNCTION), number_(number), resultType_(resultType), params_(std::move(params)), name_(name) {}
CExpFunction::CExpFunction() : CExpItem(EXP_FUNCTION) {}
CExpFunction::~CExpFunction() = default;

bool CExpFunction::Parse(CExpSource& source, const std::string& text) {
    if (!ParseHead(source, text)) return false;
    number_ = kUserFunction;
    params_.clear();
    ParseParameters(source, text);
    SkipBlanks(source, text);
    if (CurrentChar(source, text) != ')') {
        source.AddDiag(source.position, EXP_FUNCTION, kMissingParen);
        return true;
    }
    ++source.position;
    ParseBody(source, text);
    return true;
}

// Until the "(" is seen nothing is committed: a line that turns out to be no
// definition must leave neither a diagnostic nor a moved cursor behind.
bool CExpFunction::ParseHead(CExpSource& source, const std::string& text) {
    CExpSource probe = source;
    SkipBlanks(probe, text);
    if (AtEnd(probe, text)) return false;
    SetPosition(probe.position);
    const std::string typeWord = ReadIdentifier(probe, text);
    if (typeWord.empty() || ResultTypeOf(typeWord) < 0) return false;
    probe.position += static_cast<int>(typeWord.size());
    SkipBlanks(probe, text);
    const std::string name = ReadIdentifier(probe, text);
    // A visible name or a reserved word is left to the other line kinds,
    // which report the clash; a function named "false" would otherwise hide
    // the literal for the rest of the run.
    if (name.empty() || IsReserved(name) || Lookup(name) != nullptr) return false;
    probe.position += static_cast<int>(name.size());
    SkipBlanks(probe, text);
    if (CurrentChar(probe, text) != '(') return false;
    resultType_ = ResultTypeOf(typeWord);
    name_ = name;
    source.position = probe.position + 1;
    return true;
}

void CExpFunction::ParseParameters(CExpSource& source, const std::string& text) {
    while (true) {
        SkipBlanks(source, text);
        if (AtEnd(source, text)) return;
        if (AtEllipsis(source, text)) {
            source.position += 3;
            params_.push_back({0, false, true});
        } else if (!ParseDeclaredParameter(source, text)) {
            return;
        }
        SkipBlanks(source, text);
        if (CurrentChar(source, text) != ',') return;
        if (params_.back().variadic) source.AddDiag(source.position, EXP_FUNCTION, kVariadicNotLast);
        ++source.position;
    }
}

bool CExpFunction::ParseDeclaredParameter(CExpSource& source, const std::string& text) {
    auto declaration = MakeCandidate<CExpType>(this);
    declaration->SetParameter();
    if (!declaration->Parse(source, text)) return false;
    FunctionParam param{declaration->ValueType(), false, false};
    if (declaration->ChildCount() > 1) {
        source.AddDiag(declaration->Child(1)->Position(), EXP_FUNCTION, kParameterNeedsType);
    }
    if (declaration->ChildCount() > 0) {
        const CExpItem* first = declaration->Child(0);
        if (first->Kind() == EXP_VARARRAY) {
            source.AddDiag(first->Position(), EXP_FUNCTION, kArrayParameter);
        } else if (first->Kind() == EXP_VARIABLE) {
            param.byReference = static_cast<const CExpVariable*>(first)->IsReference();
        }
    }
    AppendChild(std::move(declaration));
    params_.push_back(param);
    return true;
}

// The body runs to the end of the expression, commas included.
void CExpFunction::ParseBody(CExpSource& source, const std::string& text) {
    auto body = std::make_unique<CExpression>();
    body->SetParent(this);
    if (body->ParseExpression(source, text, false)) {
        body_ = std::move(body);
    } else if (!source.HasDiag()) {
        // With a diagnostic on the line the body was either not read (an
        // earlier fault stops the scan) or reported its own fault: it is
        // not missing.
        source.AddDiag(source.position, EXP_FUNCTION, kBodyMissing);
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
