#pragma once

// True when the file descriptor is connected to a terminal.
bool IsTerminal(int fd);
