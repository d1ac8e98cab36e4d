#pragma once

#include "engine/lexer/Token.h"

class CExpItem;
class CExpSource;

// The operand people pass most, a number or a variable alone before the
// closing token («v[12]», «sqrt(x)»; a "," also closes when closer is
// RParen): the item an expression of it would come to, made without the
// expression and with the cursor past it, its name found from context. Null
// when the text is anything else; nothing is read then.
CExpItem* ReadLoneOperand(CExpSource& source, const CExpItem& context, TokenKind closer);
