#include "app/KeyBindings.h"

#include <cstdlib>

void Rebind(rl_command_func_t* from, rl_command_func_t* to) {
    for (const Keymap map : EditingKeymaps) {
        char** sequences = rl_invoking_keyseqs_in_map(from, map);
        if (sequences == nullptr) continue;
        for (char** sequence = sequences; *sequence != nullptr; ++sequence) {
            rl_bind_keyseq_in_map(*sequence, to, map);
            std::free(*sequence);
        }
        std::free(static_cast<void*>(sequences));
    }
}
