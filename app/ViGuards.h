#pragma once

// Keeps readline 8.2's vi command mode off the paths that corrupt or lose
// its memory.
//
// While a vi operator (c, d, y, s) reads its motion with a count ("c2w"),
// readline runs the key that ends the count as a command. Another operator
// run there shares the first one's context and frees it under it; a repeat
// (".") or a key bound to nothing, or to abort, leaves through paths that
// lose it. Readline 8.3 gives each operator a context of its own. Here,
// inside an operator such commands ring the bell and do nothing; elsewhere
// they do what they always did.
void GuardViOperators();

// Called as each line begins. The first switch to command mode in a line
// makes readline drop the line's undo list, even where a line recalled from
// history still owns part of it, which is then freed twice: the switch is
// taken as made already. ("U" then undoes what was typed before the first
// Escape too.)
void StartViLine();
