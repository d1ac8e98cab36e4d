#pragma once

#include <optional>
#include <string>

#include "value/CValueData.h"

// Helpers shared by the built-in implementations.

// Logs "<name> : error(<the system's text for errnum>)" at the error level.
void LogCallError(const char* name, int errnum);

// The argument as a NUL-terminated text for a C library call, or nothing when
// it holds a zero byte: a path or command must not be cut short silently.
std::optional<std::string> CText(const CValueData& value);
