#include "engine/items/CExpBracketList.h"

#include <limits>

#include "engine/expression/LoneOperand.h"
#include "engine/items/CExpKakko.h"
#include "engine/items/CExpression.h"

bool CExpBracketList::Parse(CExpSource& source) {
    source.SkipBlanks();
    if (!source.At(TokenKind::LBracket)) return false;
    SetPosition(source.position);
    for (;;) {
        source.Advance();   // the '['
        if (!ParseGroup(source)) return false;
        source.SkipBlanks();
        if (!source.At(TokenKind::RBracket)) {
            source.AddDiag(source.position, Diag::MissingBracket);
            return true;
        }
        source.Advance();   // the ']'
        source.SkipBlanks();
        if (!source.At(TokenKind::LBracket)) return true;
    }
}

// One expression between brackets. A leading parenthesis is taken as the
// parenthesised item alone, so «[(i)+1]» stops before the plus sign.
bool CExpBracketList::ParseGroup(CExpSource& source) {
    source.SkipBlanks();
    // An earlier fault on the line stops the expression scan before it
    // reads anything; the subscript is then not wrong, only unread.
    const bool unread = source.HasDiag();
    if (source.At(TokenKind::LParen)) {
        auto* group = source.Workspace().New<CExpKakko>();
        group->SetParent(this);
        group->Parse(source);
        Add(group);
        return true;
    }
    if (CExpItem* single = ReadLoneOperand(source, *this, TokenKind::RBracket)) {
        Add(single);
        return true;
    }
    auto* expression = source.Workspace().New<CExpression>();
    expression->SetParent(this);
    if (expression->ParseExpression(source, false)) {
        Add(expression);
        return true;
    }
    if (!unread) source.AddDiag(source.position, Diag::BadSubscript);
    return false;
}

void CExpBracketList::Add(CExpItem* group) {
    group->SetParent(this);
    groups_.push_back(group);
}

std::string CExpBracketList::Text() const {
    std::string text;
    for (CExpItem* group : groups_) text += "[" + group->Text() + "]";
    return text;
}

bool CExpBracketList::Execute(CExpContext& context) {
    values_.clear();
    for (CExpItem* group : groups_) {
        if (!group->Execute(context)) return false;
        values_.push_back(context.value.AsInt());
    }
    return true;
}

uint64_t CExpBracketList::Product() const {
    constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
    uint64_t product = 1;
    for (int32_t value : values_) {
        const auto factor = static_cast<uint64_t>(static_cast<uint32_t>(value));
        if (factor != 0 && product > kMax / factor) return kMax;
        product *= factor;
    }
    return product;
}
