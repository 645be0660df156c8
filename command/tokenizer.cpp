// Cuts the command tail into tokens in place.
#include "command/tokenizer.h"

namespace {

// The "C" locale's white space, fixed so the user's code page cannot change the grammar.
bool IsWhiteSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// No quoting exists, so a leading '-' or '/' is simply dropped: /W and -w both mean W.
bool IsSeparator(unsigned char c) { return IsWhiteSpace(c) || c == '-' || c == '/'; }

}  // namespace

void SplitArguments(char* text, int* countOut, char** slots, int capacity) {
  if (text == nullptr || countOut == nullptr || slots == nullptr || capacity <= 0) return;
  int count = 0;
  char* scan = text;
  while (*scan != '\0' && count < capacity) {
    if (IsSeparator(static_cast<unsigned char>(*scan))) {
      *scan++ = '\0';
      continue;
    }
    slots[count++] = scan;
    // '-' and '/' inside a token stay in it; only white space ends it.
    while (*scan != '\0' && !IsWhiteSpace(static_cast<unsigned char>(*scan))) ++scan;
  }
  *countOut = count;
}
