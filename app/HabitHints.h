#pragma once

#include <span>
#include <vector>

#include "app/HintTexts.h"
#include "engine/Diagnostics.h"

class CExpManager;
class CLineTokens;

// Hints for a line that failed, where its tokens show a habit from C or
// from other calculators that numora's language does not have: statements,
// a ";", compound assignment, a cast, sizeof, "**", C's type words and
// pointers, literal suffixes, escapes in a character constant, a subscript
// on a string, an array named without one, a call of a user function,
// quit/exit/help, an assignment to a name never declared, a second
// declaration of a name. Each says what to write instead. They are read off
// the failed line's own tokens and diagnostics and the engine's reading of
// the line's parts, never guessed: a line that succeeded gets none. A line
// a hint proposes runs as typed and keeps the value the person meant.
std::vector<Hint> HabitHints(CLineTokens& tokens, std::span<const CExpDiag> diagnostics, const CExpManager& manager);
