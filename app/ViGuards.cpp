#include "app/ViGuards.h"

#include <readline/readline.h>

#include "app/KeyBindings.h"

namespace {

// True while an operator runs, reading its motion among other things.
bool insideOperator = false;

bool Refused() {
    if (insideOperator) rl_ding();
    return insideOperator;
}

template <rl_command_func_t* Operator>
int RunOperator(int count, int key) {
    if (Refused()) return 1;
    insideOperator = true;
    const int status = Operator(count, key);
    insideOperator = false;
    return status;
}

int Repeat(int count, int key) {
    return Refused() ? 1 : rl_vi_redo(count, key);
}

int Abort(int count, int key) {
    return Refused() ? 1 : rl_abort(count, key);
}

}  // namespace

void GuardViOperators() {
    Rebind(rl_vi_change_to, RunOperator<rl_vi_change_to>);
    Rebind(rl_vi_delete_to, RunOperator<rl_vi_delete_to>);
    Rebind(rl_vi_yank_to, RunOperator<rl_vi_yank_to>);
    Rebind(rl_vi_subst, RunOperator<rl_vi_subst>);
    Rebind(rl_vi_redo, Repeat);
    Rebind(rl_abort, Abort);
    // A key bound to nothing aborts as Ctrl-G does. (A meta key would be
    // bound as Escape and the key: Escape would then begin a sequence.)
    for (int key = 0; key < 128; ++key) {
        const KEYMAP_ENTRY& entry = vi_movement_keymap[key];
        if (entry.type == ISFUNC && entry.function == nullptr) rl_bind_key_in_map(key, Abort, vi_movement_keymap);
    }
}

void StartViLine() {
    RL_SETSTATE(RL_STATE_VICMDONCE);
}
