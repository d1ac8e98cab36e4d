#pragma once

// The history searches that take a text (vi's "/" "?" "n" "N", emacs's M-p
// and M-n, readline's non-incremental searches under any binding) or the
// text before the cursor (the prefix and substring searches an inputrc may
// bind), done here instead of by readline.
//
// Readline 8.2's own leave the line found in an inconsistent state: the line
// typed before the search is dropped while the history stays at the found
// line, after which an undo list belongs to a history line and to the line
// being edited at once and is freed twice (a crash, or a use after free
// under a sanitizer); they also leak the line and the search's context.
// Readline 8.3 reworked them. The searches here read the text themselves and
// reach the line found with readline's ordinary history motions, which keep
// the line being typed and the changes to recalled lines as up and down do.

// Binds the searches here to every key sequence of the emacs and vi keymaps
// that is bound to one of readline's own (after the init file was read).
// keyWaiting tells whether another key is there already, so that a paste can
// be told from Escape typed alone while a search text is read.
void TakeOverHistorySearches(bool (*keyWaiting)());
