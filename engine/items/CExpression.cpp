#include "engine/items/CExpression.h"

#include "engine/expression/ExpressionBuilder.h"
#include "engine/expression/OperandItems.h"
#include "engine/expression/ReadingRules.h"

bool CExpression::ParseExpression(CExpSource& source, bool stopAtComma) {
    if (!MayNestAt(source.depth)) {
        source.AddDiag(source.position, Diag::SyntaxError);
        return false;
    }
    const NestingLevel level(source);
    source.SkipBlanks();
    if (source.AtEnd()) return false;
    SetPosition(source.position);
    // Most lines are arithmetic on literals and variables, which the literal
    // pass works out without the builder.
    ExpressionWorkspace& reading = source.Workspace().expressions;
    LiteralArithmetic::Result worked;
    if (reading.LiteralPassMayRead(source, source.HasDiag()) &&
        reading.literalArithmetic.WorkOut(source, *this, stopAtComma, Level::Waiting, worked)) {
        // An unclosed comment after the expression fails it.
        if (source.HasDiag()) return false;
        CExpItem* root = OperandItems::NewFolded(source.Workspace(), *worked.value, worked.staticType,
                                                 worked.constant, worked.position);
        return TakeRoot(source, root, worked.height);
    }
    ExpressionBuilder builder(*this, source);
    return builder.Build(stopAtComma);
}

bool CExpression::TakeRoot(CExpSource& source, CExpItem* tree, int height) {
    tree->SetParent(this);
    root_ = tree;
    depth_ = height;
    // An operator short of operands fails its check without a record of its own.
    return Check(source);
}

bool CExpression::Check(CExpSource& source) {
    if (!checked_) checked_ = CExpItem::Check(source);
    return checked_;
}
