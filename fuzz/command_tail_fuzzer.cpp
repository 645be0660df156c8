// Fuzzes the command-tail derivation with arbitrary process command lines.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "shell/command_tail.h"
#include "tests/fake_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fake::Scope scope;
  // A double-byte code page (932), so trail bytes equal to '"' come up.
  scope.platform().leadByteRanges = {{0x81, 0x9F}, {0xE0, 0xFC}};
  // Exactly the line and its terminator: AddressSanitizer catches any step past it.
  std::vector<char> line(data, data + size);
  line.push_back('\0');
  const char* end = line.data() + std::strlen(line.data());
  const char* tail = CommandTailFrom(line.data());
  if (tail < line.data() || tail > end) {
    std::fprintf(stderr, "the tail lies outside the line\n");
    std::abort();
  }
  if (*tail != '\0' && static_cast<unsigned char>(*tail) <= ' ') {
    std::fprintf(stderr, "the tail begins with a byte at or below blank\n");
    std::abort();
  }
  return 0;
}
