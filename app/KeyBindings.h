#pragma once

#include <readline/readline.h>

// The keymaps a line is edited in: emacs, and vi's two.
inline constexpr Keymap EditingKeymaps[] = {emacs_standard_keymap, vi_insertion_keymap, vi_movement_keymap};

// Binds to `to` every key sequence that is bound to `from` in the editing
// keymaps, the init file's bindings included.
void Rebind(rl_command_func_t* from, rl_command_func_t* to);
