#pragma once

// True when the file descriptor is connected to a terminal.
bool IsTerminal(int fd);

// The width in columns of the terminal the file descriptor is connected to,
// as it is now (a person may resize the window at any time); 0 when it is no
// terminal or the terminal does not say.
int TerminalColumns(int fd);
