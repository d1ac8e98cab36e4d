#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "value/CValueData.h"

// Helpers shared by the built-in implementations.

// Logs "<name> : error(<the system's text for errnum>)" at the error level.
void LogCallError(const char* name, int errnum);

// The argument as a NUL-terminated text for a C library call, or nothing when
// it holds a zero byte: a path or command must not be cut short silently.
std::optional<std::string> CText(const CValueData& value);

// Whether what the output built-ins wrote last left the screen inside a
// line (printf("hi"), putchar('x')): a result printed after it at a
// terminal then starts on a new line. The front end forgets it before each
// line it runs.
void NoteLineOutput(std::string_view written);
bool LineOutputEndsInsideLine();
void ForgetLineOutput();
