#include "engine/CExpType.h"

#include "engine/CExpVararray.h"
#include "engine/CExpVariable.h"
#include "engine/ParseHelpers.h"

namespace {

constexpr int kMissingIdentifier = 1;   // "識別子がありません"

// True when a declarator already reported a problem at or past the cursor,
// which then needs no second report.
bool ReportedHere(const CExpSource& source) {
    return !source.diags.Empty() && source.diags.Last().position >= source.position;
}

}  // namespace

bool CExpType::Parse(CExpSource& source, const std::string& text) {
    SkipBlanks(source, text);
    if (AtEnd(source, text)) return false;
    SetPosition(source.position);
    const std::string word = ReadIdentifier(source, text);
    type_ = TypeCodeOf(word);
    if (type_ == 0) return false;
    source.position += static_cast<int>(word.size());
    while (!AtEnd(source, text)) {
        if (!ParseDeclarator(source, text) && !ReportedHere(source)) {
            source.AddDiag(source.position, EXP_TYPE, kMissingIdentifier);
        }
        SkipBlanks(source, text);
        if (CurrentChar(source, text) != ',' || CommaEndsParameter(source, text)) break;
        ++source.position;
    }
    return true;
}

bool CExpType::ParseDeclarator(CExpSource& source, const std::string& text) {
    if (auto array = MakeCandidate<CExpVararray>(this); array->Parse(source, text)) {
        Adopt(std::move(array));
        return true;
    }
    if (auto variable = MakeCandidate<CExpVariable>(this); variable->Parse(source, text)) {
        Adopt(std::move(variable));
        return true;
    }
    return false;
}

void CExpType::Adopt(std::unique_ptr<CExpItem> declarator) {
    names_.try_emplace(declarator->Name(), declarator.get());
    AppendChild(std::move(declarator));
}

bool CExpType::CommaEndsParameter(const CExpSource& source, const std::string& text) const {
    if (!parameter_) return false;
    CExpSource probe = source;
    ++probe.position;
    SkipBlanks(probe, text);
    return text.compare(static_cast<size_t>(probe.position), 3, "...") == 0 ||
           TypeCodeOf(ReadIdentifier(probe, text)) != 0;
}

std::string CExpType::Text() const {
    std::string text = TypeNameOf(type_) + " ";
    for (size_t i = 0; i < ChildCount(); ++i) {
        if (i > 0) text += ", ";
        text += Child(i)->Text();
    }
    return text;
}

CExpItem* CExpType::MatchName(const std::string& name) {
    auto it = names_.find(name);
    return it == names_.end() ? nullptr : it->second;
}

CExpItem* CExpType::LookupForDeclarator(const std::string& name) const {
    auto it = names_.find(name);
    return it == names_.end() ? Lookup(name) : it->second;
}
