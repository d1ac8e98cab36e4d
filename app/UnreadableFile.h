#pragma once

#include <string>

// For a start-up file that exists but cannot be read (no permission, not a
// regular file): one line on stderr naming it and why. A file that does not
// exist is nobody's mistake and gets nothing.
void ReportUnreadableFile(const std::string& path);
