#pragma once

#include <exception>
#include <string>

// The frame's one line for a failure: the description of a standard
// exception, the text of a library error text, the report of a processor
// fault, "_invalid_parameter" for a parameter fault, and "error" for
// anything else. It ends the run when the failure escapes the front end, and
// is shown for a line abandoned because memory ran out.
std::string FailureText(const std::exception_ptr& failure);
