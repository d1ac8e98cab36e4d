#include "engine/items/CExpression.h"

#include "engine/expression/ExpressionBuilder.h"
#include "engine/expression/OperandItems.h"
#include "engine/expression/ReadingRules.h"

namespace {

// The literal the literal pass worked a part of the line out to.
CExpItem* NewFolded(CExpSource& source, const LiteralArithmetic::Result& worked) {
    return OperandItems::NewFolded(source.Workspace(), *worked.value, worked.staticType, worked.constant,
                                   worked.position);
}

}  // namespace

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
    size_t declinedRest = LiteralArithmetic::kNoToken;
    if (reading.LiteralPassMayRead(source, source.HasDiag())) {
        LiteralArithmetic& pass = reading.literalArithmetic;
        if (const size_t op = pass.AssignmentOperator(source); op != LiteralArithmetic::kNoToken) {
            LiteralArithmetic::Assignment assignment;
            if (pass.WorkOutAssignment(source, *this, stopAtComma, op, assignment)) {
                if (source.HasDiag()) return false;
                assignment.operands[1].item = NewFolded(source, assignment.value);
                CExpItem* root = OperandItems(source.Workspace()).NewOperator(assignment.op, assignment.operands);
                NoteAppliedAsItem(source, assignment.op.code);
                return TakeRoot(source, root, assignment.height);
            }
            declinedRest = assignment.declinedRest;
        } else {
            LiteralArithmetic::Result worked;
            if (pass.WorkOut(source, *this, stopAtComma, Level::Waiting, worked)) {
                // An unclosed comment after the expression fails it.
                if (source.HasDiag()) return false;
                return TakeRoot(source, NewFolded(source, worked), worked.height);
            }
        }
    }
    ExpressionBuilder builder(*this, source, declinedRest);
    return builder.Build(stopAtComma);
}

bool CExpression::TakeRoot(CExpSource& source, CExpItem* tree, int height) {
    tree->SetParent(this);
    root_ = tree;
    depth_ = height;
    // An operator short of operands fails its check without a record of its own.
    return Check(source);
}

// Its only child is the root.
bool CExpression::Check(CExpSource& source) {
    if (!checked_) checked_ = root_ == nullptr || root_->Check(source);
    return checked_;
}
