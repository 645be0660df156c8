// Cuts the command tail into tokens in place: the program's only parser.
#pragma once

// Overwrites separators with NUL and stores where each token starts, up to capacity tokens.
// Once capacity is reached the last token runs on through the rest of the text. Null arguments
// or a capacity below 1 leave everything, the count too, unwritten.
void SplitArguments(char* text, int* countOut, char** slots, int capacity);
