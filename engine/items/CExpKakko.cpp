#include "engine/items/CExpKakko.h"

#include "engine/items/CExpression.h"

// kakko -> "(" expression ")"
// Once its "(" is seen the item is claimed; problems travel as diagnostics.
bool CExpKakko::Parse(CExpSource& source) {
    source.SkipBlanks();
    if (!source.At(TokenKind::LParen)) return false;
    SetPosition(source.position);
    source.Advance();
    source.SkipBlanks();

    auto* inner = source.Workspace().New<CExpression>();
    inner->SetParent(this);
    if (inner->Parse(source)) {
        inner_ = inner;
        if (source.HasDiag()) return true;
        source.SkipBlanks();
        if (source.At(TokenKind::RParen)) {
            source.Advance();
        } else {
            source.AddDiag(source.position, Diag::GroupMissingParen);
        }
    } else if (!source.HasDiag()) {
        source.AddDiag(source.position, Diag::GroupEmpty);
    }
    return true;
}

CExpItem* CExpKakko::Child(size_t) const { return inner_; }

bool CExpKakko::Execute(CExpContext& context) { return inner_ == nullptr || inner_->Execute(context); }

int CExpKakko::ValueType() const { return inner_ != nullptr ? inner_->ValueType() : 0; }

std::string CExpKakko::Text() const { return "(" + CExpItem::Text() + ")"; }
