#include "engine/expression/LoneOperand.h"

#include "engine/expression/ReadingRules.h"
#include "engine/items/CExpConstant.h"
#include "engine/items/CExpSource.h"
#include "engine/items/CExpVariable.h"
#include "engine/items/CExpVariableUse.h"

CExpItem* ReadLoneOperand(CExpSource& source, const CExpItem& context, TokenKind closer) {
    // An expression would refuse to start here, or stop before reading.
    if (source.HasDiag() || !MayNestAt(source.depth)) return nullptr;
    const Token token = source.Current();
    const Token next = source.Lexer().At(source.index + 1);
    const bool closes = next.kind == closer || (closer == TokenKind::RParen && next.kind == TokenKind::Operator &&
                                                OperatorRow(next.row).code == OP_COMMA);
    if (token.faulty || !closes) return nullptr;
    ParseWorkspace& workspace = source.Workspace();
    CExpItem* item = nullptr;
    if (token.kind == TokenKind::Number) {
        item = workspace.New<CExpNumConst>(source.Lexer().LiteralOf(token));
    } else if (token.kind == TokenKind::Name) {
        const std::string_view name = source.Lexer().TextOf(token);
        CExpItem* found = context.Lookup(name);
        if (found == nullptr || found->Kind() != EXP_VARIABLE || IsBoolWord(name)) return nullptr;
        item = workspace.New<CExpVariableUse>(static_cast<CExpVariable*>(found));
    } else {
        return nullptr;
    }
    item->SetPosition(token.start);
    source.Advance();
    return item;
}
