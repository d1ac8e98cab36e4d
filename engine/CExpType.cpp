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
        SkipBlanks(source, text);
        const int start = source.position;
        // A declarator that read its text and then refused it («a[0]») has
        // said why; only one that found nothing to read lacks its name.
        if (!ParseDeclarator(source, text) && source.position == start && !ReportedHere(source)) {
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

// A declaration of a few declarators, the usual case, is searched one by one;
// one of many keeps an index of their names, so that a line of thousands of
// declarators stays linear without every declaration paying for an index.
constexpr size_t kIndexedDeclarators = 16;

void CExpType::Adopt(std::unique_ptr<CExpItem> declarator) {
    AppendChild(std::move(declarator));
    if (ChildCount() < kIndexedDeclarators) return;
    if (names_ == nullptr) {
        names_ = std::make_unique<std::unordered_map<std::string, CExpItem*>>();
        for (const auto& child : Children()) names_->try_emplace(child->Name(), child.get());
    } else {
        names_->try_emplace(Children().back()->Name(), Children().back().get());
    }
}

CExpItem* CExpType::FindDeclarator(const std::string& name) const {
    if (names_ != nullptr) {
        auto it = names_->find(name);
        return it == names_->end() ? nullptr : it->second;
    }
    for (const auto& child : Children()) {
        if (child->DefinesName() && child->Name() == name) return child.get();
    }
    return nullptr;
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

CExpItem* CExpType::MatchName(const std::string& name) { return FindDeclarator(name); }

CExpItem* CExpType::LookupForDeclarator(const std::string& name) const {
    CExpItem* found = FindDeclarator(name);
    return found != nullptr ? found : Lookup(name);
}
