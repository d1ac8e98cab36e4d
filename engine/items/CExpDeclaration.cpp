#include "engine/items/CExpDeclaration.h"

#include "engine/items/CExpVararray.h"
#include "engine/items/CExpVariable.h"
#include "engine/lexer/Keywords.h"

namespace {

// True when a declarator already reported a problem at or past the cursor,
// which then needs no second report.
bool ReportedHere(const CExpSource& source) {
    return !source.diags.Empty() && source.diags.Last().position >= source.position;
}

// A declaration of a few declarators, the usual case, is searched one by one;
// one of many keeps an index of their names, so that a line of thousands of
// declarators stays linear without every declaration paying for an index.
constexpr size_t kIndexedDeclarators = 16;

}  // namespace

bool CExpDeclaration::Parse(CExpSource& source) {
    source.SkipBlanks();
    if (source.AtEnd()) return false;
    SetPosition(source.position);
    type_ = TypeCodeOf(source.Name());
    if (type_ == 0) return false;
    source.Advance();
    while (!source.AtEnd()) {
        source.SkipBlanks();
        const int start = source.position;
        // A declarator that read its text and then refused it («a[0]») has
        // said why; only one that found nothing to read lacks its name.
        if (!ParseDeclarator(source) && source.position == start && !ReportedHere(source)) {
            source.AddDiag(source.position, Diag::MissingIdentifier);
        }
        source.SkipBlanks();
        if (!source.AtOperator(OP_COMMA) || CommaEndsParameter(source)) break;
        source.Advance();
    }
    return true;
}

// Declarators outlive their line, so they are made on the heap rather than
// in the line's storage.
bool CExpDeclaration::ParseDeclarator(CExpSource& source) {
    auto array = std::make_unique<CExpVararray>(type_);
    array->SetParent(this);
    if (array->Parse(source)) {
        Adopt(std::move(array));
        return true;
    }
    auto variable = std::make_unique<CExpVariable>(type_);
    variable->SetParent(this);
    if (variable->Parse(source)) {
        Adopt(std::move(variable));
        return true;
    }
    return false;
}

void CExpDeclaration::Adopt(std::unique_ptr<CExpDeclarator> declarator) {
    declarators_.push_back(std::move(declarator));
    if (declarators_.size() < kIndexedDeclarators) return;
    if (declarators_.size() == kIndexedDeclarators) {
        for (const auto& child : declarators_) names_.Add(child.get());
    } else {
        names_.Add(declarators_.back().get());
    }
}

CExpItem* CExpDeclaration::FindDeclarator(std::string_view name) const {
    if (declarators_.size() >= kIndexedDeclarators) return names_.Find(name);
    for (const auto& child : declarators_) {
        if (child->Name() == name) return child.get();
    }
    return nullptr;
}

bool CExpDeclaration::CommaEndsParameter(const CExpSource& source) const {
    if (!parameter_) return false;
    CExpSource probe = source;
    probe.Advance();
    probe.SkipBlanks();
    return source.Line().substr(static_cast<size_t>(probe.position)).starts_with("...") ||
           TypeCodeOf(probe.Name()) != 0;
}

std::string CExpDeclaration::Text() const {
    std::string text = TypeNameOf(type_) + " ";
    for (size_t i = 0; i < declarators_.size(); ++i) {
        if (i > 0) text += ", ";
        text += declarators_[i]->Text();
    }
    return text;
}

CExpItem* CExpDeclaration::LookupForDeclarator(std::string_view name) const {
    CExpItem* found = FindDeclarator(name);
    return found != nullptr ? found : Lookup(name);
}

std::vector<std::unique_ptr<CExpDeclarator>> CExpDeclaration::TakeDeclarators() {
    names_.Clear();
    return std::move(declarators_);
}
