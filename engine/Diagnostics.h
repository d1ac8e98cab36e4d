#pragma once

#include <string>

#include "engine/CExpDiag.h"

// The message of a (major, minor) pair, or nullptr when the table has none.
const char* DiagnosticMessage(int major, int minor);
// "pos:%d  %s", or "pos:%d  未定義のメッセージ(%d.%d)" for pairs without a row.
std::string FormatDiagnostic(const CExpDiag& diag);
