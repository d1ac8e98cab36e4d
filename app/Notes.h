#pragma once

#include <string>
#include <vector>

class CExpManager;
class CLineTokens;

// The notes on a line that ran, for a person at a terminal: what became of
// the values the line changed without a diagnostic, as a compiler warns of
// them. An integer literal that does not fit int («3000000000» is read as
// -1294967296; past 32 bits only the low 32 bits are kept) is read off the
// line's tokens; a value narrowed where it was stored («int y = 1.5» keeps
// 1) and a signed operation that wrapped around («2147483647 + 1») come
// from the manager's records. Each says what was kept and how to get the
// exact value. In the order of the line, a few at most, then how many more.
std::vector<std::string> LineNotes(CLineTokens& tokens, const CExpManager& manager);
