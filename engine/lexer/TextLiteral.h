#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "engine/lexer/Token.h"
#include "value/CValueData.h"

// The readers of character and string literals. Each reads the literal whose
// opening quote is at begin, appends what is wrong with it to faults, in the
// order found, and answers where reading stops.

// character -> "'" char "'"   (no escape sequences: «'\n'» is a backslash)
size_t ReadChar(std::string_view text, size_t begin, CValueData& value, std::vector<LexFault>& faults);
// string -> '"' { char | escape } '"'
size_t ReadString(std::string_view text, size_t begin, CValueData& value, std::vector<LexFault>& faults);
