#pragma once

#include <string>

// Where a user's own files live, by the XDG base directory rules. Each
// answer is a directory without a trailing "/", or empty when neither the
// variable (which counts only when it holds an absolute path) nor HOME says
// where.

// $XDG_CONFIG_HOME, else ~/.config: the user's start-up files.
std::string ConfigHome();
// $XDG_STATE_HOME, else ~/.local/state: what is kept between runs.
std::string StateHome();

// Creates the directory that holds path, and its missing parents, for the
// user alone (mode 0700); true when it exists afterwards, otherwise false
// with errno telling why.
bool MakeParentDirectories(const std::string& path);
