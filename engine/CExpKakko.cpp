#include "engine/CExpKakko.h"

#include "engine/CExpression.h"
#include "engine/ParseHelpers.h"

namespace {

constexpr int kEmptyExpression = 1;   // (12, 1) "式は省略できません"
constexpr int kMissingClose = 2;      // (12, 2) ") がありません"

}  // namespace

// kakko -> "(" expression ")"
// Once its "(" is seen the item is claimed; problems travel as diagnostics.
bool CExpKakko::Parse(CExpSource& source, const std::string& text) {
    SkipBlanks(source, text);
    if (CurrentChar(source, text) != '(') return false;
    SetPosition(source.position);
    ++source.position;
    SkipBlanks(source, text);

    auto inner = MakeCandidate<CExpression>(this);
    if (inner->Parse(source, text)) {
        AppendChild(std::move(inner));
        if (source.HasDiag()) return true;
        SkipBlanks(source, text);
        if (CurrentChar(source, text) == ')') {
            ++source.position;
        } else {
            source.AddDiag(source.position, EXP_KAKKO, kMissingClose);
        }
    } else if (!source.HasDiag()) {
        source.AddDiag(source.position, EXP_KAKKO, kEmptyExpression);
    }
    return true;
}

bool CExpKakko::Execute(CExpContext& context) { return ExecuteChildren(context); }

int CExpKakko::ValueType() const { return ChildCount() ? Children().back()->ValueType() : 0; }

std::string CExpKakko::Text() const { return "(" + CExpItem::Text() + ")"; }
