#include "engine/CExpression.h"

bool CExpression::Parse(CExpSource& source, const std::string& text) {
    return ParseExpression(source, text, false);
}
bool CExpression::ParseExpression(CExpSource&, const std::string&, bool) { return false; }  // TODO(parser)
bool CExpression::Execute(CExpContext& context) { return ExecuteChildren(context); }
int CExpression::ValueType() const { return ChildCount() ? Children().back()->ValueType() : 0; }
