#pragma once

#include <string>
#include <string_view>

#include "engine/Diagnostics.h"

class CLineTokens;

// Whether the locale asks for Japanese: the first of LC_ALL, LC_MESSAGES
// and LANG that is set and not empty begins with "ja". The design's
// Japanese texts then stand alone, even at a terminal.
bool LocaleIsJapanese();

// A diagnostic's meaning in English, naming the text it points at where the
// English text has a place for it («undefined name "foo"»). tokens hold the
// line the diagnostic belongs to.
std::string EnglishMeaning(const CExpDiag& diagnostic, CLineTokens& tokens);
