#pragma once

#include <string>
#include <vector>

class CLineTokens;

// Notes on the integer literals of a line that do not fit 32 bits. Such a
// literal keeps only its low 32 bits («12345678901» is -539222987), which is
// the language's rule; a person who meant the value is told how to get it,
// as a floating literal. A few notes at most, then how many more there are.
std::vector<std::string> WideLiteralNotes(CLineTokens& tokens);
