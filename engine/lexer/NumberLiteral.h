#pragma once

#include <cstddef>
#include <string_view>

#include "value/CValueData.h"

// The readers of numeric literals. Each reads the literal that starts at
// begin and answers where reading stops; a malformed literal sets malformed
// and answers where reading resumes.

// number -> hexadecimal | binary | floating | octal | decimal
// begin is a digit or ".".
size_t ReadNumber(std::string_view text, size_t begin, CValueData& value, bool& malformed);

// True when a run of digits at begin is followed by "$".
bool StartsFraction(std::string_view text, size_t begin);
// fraction -> digits "$" digits [ "$" digits ]
size_t ReadFraction(std::string_view text, size_t begin, CValueData& value, bool& malformed);
