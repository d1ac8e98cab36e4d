#include "platform/TypedInput.h"

#include <poll.h>
#include <unistd.h>

#include <cstdio>

namespace {

bool shared = false;
bool insideLine = false;

}  // namespace

void ShareTypedInput() {
    std::setvbuf(stdin, nullptr, _IONBF, 0);
    shared = true;
}

bool TypedInputShared() {
    return shared;
}

bool EndsTypedLine(int c) {
    return c == '\n' || (shared && c == '\r');
}

void NoteTypedByte(int c) {
    insideLine = c != EOF && !EndsTypedLine(c);
}

void DropRestOfTypedLine() {
    if (!insideLine) return;
    insideLine = false;
    pollfd input{STDIN_FILENO, POLLIN, 0};
    unsigned char byte = 0;
    while (poll(&input, 1, 0) == 1 && (input.revents & POLLIN) != 0 && ::read(STDIN_FILENO, &byte, 1) == 1) {
        if (EndsTypedLine(byte)) return;
    }
}
