#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The line written under a line typed at a terminal: a "^" in the column of
// each byte offset in positions, blanks elsewhere. The columns are those a
// line editor shows the text in after a prompt of promptWidth columns:
// UTF-8 characters take their display width (East Asian wide ones two,
// combining marks none), a tab reaches the next multiple of eight, other
// control characters show as two ("^A"). An offset past the end of the text
// counts one column per byte beyond it.
std::string CaretLine(std::string_view text, size_t promptWidth, const std::vector<size_t>& positions);

// The columns text takes on a terminal, from the first column on, counted as
// for the caret line.
size_t DisplayWidth(std::string_view text);
