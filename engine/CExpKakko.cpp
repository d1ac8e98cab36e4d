#include "engine/CExpKakko.h"

bool CExpKakko::Parse(CExpSource&, const std::string&) { return false; }  // TODO(parser)
bool CExpKakko::Execute(CExpContext& context) { return ExecuteChildren(context); }
int CExpKakko::ValueType() const { return ChildCount() ? Children().back()->ValueType() : 0; }
std::string CExpKakko::Text() const { return "(" + CExpItem::Text() + ")"; }
