#pragma once

#include <cstddef>
#include <functional>

// The stack the calculator's deepest lines need: the parser and the
// evaluation recurse once a nesting level, up to the depth bound, which the
// usual limit of 8 MiB holds with room to spare in every build.
constexpr size_t kStackNeeded = 8 * 1024 * 1024;

// Runs body where the stack has at least `needed` bytes and returns its
// answer. Under a lower limit (ulimit -s) the limit is raised where the hard
// limit allows; otherwise body runs on a thread with a stack of that size,
// which every signal sent to the process reaches, as the main thread waits
// for it with them blocked.
int RunWithStackRoom(size_t needed, const std::function<int()>& body);
