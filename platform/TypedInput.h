#pragma once

// Standard input typed at a terminal while the line editor reads the
// prompt's lines: the built-ins that read standard input (getchar, gets)
// share the terminal with it.
//
// Standard input is then read a byte at a time, so what a built-in does not
// read stays with the terminal, in order, for the next prompt. Keys typed
// ahead while the line editor held the terminal reach a built-in unedited
// by the terminal, Enter as a carriage return, which ends a line as a line
// feed does. What getchar leaves of a typed line belongs to the calculator
// line that read it: it is dropped when that line ends, and the lines typed
// after it run as the next lines.
void ShareTypedInput();

// True once ShareTypedInput was called.
bool TypedInputShared();

// True for a byte that ends a typed line: a line feed, or, while typed
// input is shared, a carriage return.
bool EndsTypedLine(int c);

// Notes the byte a built-in took from standard input last (EOF for none):
// whether the typed line was read to its end.
void NoteTypedByte(int c);

// Drops, without waiting, the rest of a typed line that a built-in began to
// read and did not finish.
void DropRestOfTypedLine();
