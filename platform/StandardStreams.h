#pragma once

#include <cstdio>
#include <string_view>

// Descriptors 0, 1 and 2 that are closed at start-up are opened on
// /dev/null, so that no file opened later (a log file) takes their place and
// receives results or diagnostics. 1 and 2 are opened for reading only: a
// write to them still fails as it would on the closed descriptor.
void OccupyStandardDescriptors();

// stdin, where it is a file or a pipe, is read 64 KiB at a time instead of
// the C library's 4 KiB, so a long session of piped lines makes a sixteenth
// of the reads (and of the polls before them). stdout keeps its size: what
// it holds is what a termination signal has to write out. Must come before
// the first read from stdin.
void UseLargeInputBuffer();

// The bytes in input's buffer that have not been read yet: what follows the
// line just read, as far as the stream has taken it in. Empty when there
// are none.
std::string_view UnreadInput(FILE* input);

// True when reading a line from input would wait: no whole line is left in
// the stream's buffer and its descriptor has nothing ready to read.
bool InputWouldWait(FILE* input);

// Copies text into the stream's buffer when the buffer has room for all of
// it, as putc_unlocked puts a byte there; false, with nothing written, when
// it has not, or the stream writes through at once (unbuffered or line by
// line), where putc would take the general way too.
bool WriteIntoBuffer(FILE* stream, std::string_view text);

// fwrite of a text of any size; a large text goes a piece at a time, with a
// check for Ctrl-C before each piece (ThrowIfInterrupted), so output that a
// slow terminal takes in stops soon after it is interrupted. Answers the
// bytes written.
size_t WriteInterruptibly(FILE* stream, std::string_view text);

// True while every write to stdout has succeeded. The first failure seen is
// kept with the error number of the moment: glibc drops the bytes of a
// failed write, so a later flush would not fail again. Called right after a
// write, it keeps the system's reason for the failure.
bool CheckStandardOutput();
// Flushes stdout; the same answer as CheckStandardOutput afterwards.
bool FlushStandardOutput();
// The error number kept by the first failure seen, 0 while there is none.
int StandardOutputError();
