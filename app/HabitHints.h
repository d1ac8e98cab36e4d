#pragma once

#include <span>
#include <string>
#include <vector>

#include "engine/Diagnostics.h"

class CExpManager;
class CLineTokens;

// Hints for a line that failed, where its tokens show a habit from C or
// from other calculators that numora's language does not have: a ";",
// compound assignment, a cast, sizeof, "**", a call of a user function,
// quit/exit/help, an assignment to a name never declared, a second
// declaration of a name. Each says what to write instead. They are read off
// the failed line's own tokens and diagnostics, never guessed: a line that
// succeeded gets none.
std::vector<std::string> HabitHints(CLineTokens& tokens, std::span<const CExpDiag> diagnostics,
                                    const CExpManager& manager);
