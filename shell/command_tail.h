// The command tail that WinMain receives, taken from the process command line.
#pragma once

// Skips the program name (a quoted one up to its closing quote, with double-byte characters kept
// whole; any other up to the first byte at or below blank) and the bytes 0x01-0x20 after it.
// Returns a pointer into commandLine: empty at the end of the line, never null.
char* CommandTailFrom(char* commandLine);
