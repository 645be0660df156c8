// The command tail: what follows the program name on the process command line.
#include "shell/command_tail.h"

#include "platform/win32.h"

char* CommandTailFrom(char* commandLine) {
  static char noTail[1] = "";
  if (commandLine == nullptr) return noTail;
  // Unsigned, so bytes from 0x80 up belong to the name and are never taken for blanks.
  unsigned char* scan = reinterpret_cast<unsigned char*>(commandLine);
  if (*scan == '"') {
    ++scan;
    while (*scan != '\0' && *scan != '"') {
      // A trail byte may equal '"'; it must not close the name.
      if (IsDBCSLeadByte(*scan) != 0 && scan[1] != '\0') ++scan;
      ++scan;
    }
    if (*scan == '"') ++scan;
  } else {
    while (*scan > ' ') ++scan;
  }
  while (*scan != '\0' && *scan <= ' ') ++scan;
  return reinterpret_cast<char*>(scan);
}
