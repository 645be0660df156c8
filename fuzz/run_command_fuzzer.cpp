// Fuzzes RunCommand with arbitrary command tails against a fake registry holding values of every
// type and awkward length, and checks what every run must keep true.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "command/dispatch.h"
#include "tests/fake_platform.h"

namespace {

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

std::string Str(const char* bytes, size_t size) { return std::string(bytes, size); }

// Names are single letters so that the fuzzer finds them quickly.
const struct {
  const char* name;
  DWORD type;
  std::string bytes;
} kValues[] = {
    {"a", REG_SZ, Str("Hello", 6)},
    {"b", REG_SZ, Str("a\nb\r\nc\x1A%\x80\xFF", 11)},
    {"c", REG_SZ, std::string(79, 'c') + '\0'},
    {"d", REG_SZ, std::string(80, 'd') + '\0'},
    {"e", REG_BINARY, std::string(80, '\n')},
    {"f", REG_BINARY, std::string(81, 'f')},
    {"g", REG_BINARY, ""},
    {"h", REG_DWORD, "ABCD"},
    {"i", REG_DWORD, Str("A\0\0\0", 4)},
    {"j", REG_MULTI_SZ, Str("one\0two\0\0", 9)},
    {"k", REG_EXPAND_SZ, Str("%PATH%", 7)},
    {"l", REG_SZ, "no terminator"},
    {"m", REG_SZ, Str("", 1)},
};

const HKEY kRoots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,    HKEY_LOCAL_MACHINE, HKEY_USERS,
                       HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA};

std::string ScratchFile() {
  static const std::string path = "/tmp/regval-fuzz-" + std::to_string(getpid()) + ".out";
  return path;
}

// What the file must hold: the data up to the first zero byte, each LF as CR LF.
std::string ExpectedFile(const std::string& data) {
  std::string text;
  for (char c : data.substr(0, data.find('\0'))) {
    if (c == '\n') text += '\r';
    text += c;
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fake::Scope scope;
  fake::Platform& platform = scope.platform();
  for (HKEY root : kRoots) {
    for (const auto& value : kValues) {
      platform.PutValue(root, "k", value.name, value.type, fake::Bytes(value.bytes));
    }
    platform.AddKey(root, "r").refusesSetRight = true;
  }
  platform.redirectFilesTo = ScratchFile();
  std::remove(ScratchFile().c_str());

  std::vector<char> text(data, data + size);
  text.push_back('\0');
  const int result = RunCommand(text.data());

  Require(result == 0 || result == 1, "the result is a flag");
  Require(platform.openKeys.empty(), "every opened key is closed");
  std::string queried;
  std::string written;
  int opens = 0;
  int closes = 0;
  bool fileOpened = false;
  for (const std::string& call : platform.calls) {
    Require(call != "close of a key not open", "no key is closed twice");
    if (call.rfind("open ", 0) == 0) ++opens;
    if (call == "close") ++closes;
    if (call.rfind("query ", 0) == 0) queried = call.substr(6);
    if (call.rfind("set ", 0) == 0) written = call.substr(4, call.rfind(' ') - 4);
    if (call.rfind("fopen ", 0) == 0) {
      Require(closes == opens, "the key is closed before the file opens");
      fileOpened = true;
    }
  }
  Require(opens <= 1, "at most one key is opened");

  std::ifstream in(ScratchFile(), std::ios::binary);
  if (fileOpened && result == 1) {
    const fake::Value* value = platform.FindValue(HKEY_CURRENT_USER, "k", queried);
    Require(value != nullptr, "a file is written only for a value that exists");
    const std::string file{std::istreambuf_iterator<char>(in), {}};
    Require(file == ExpectedFile({value->bytes.begin(), value->bytes.end()}),
            "the file holds the returned data up to its first zero, LF as CR LF");
  } else {
    Require(!in, "no file without a successful read");
  }
  if (!written.empty() && result == 1) {
    // Any root will do: the command named one of them, and only that one changed.
    bool stored = false;
    for (HKEY root : kRoots) {
      const fake::Value* value = platform.FindValue(root, "k", written);
      if (value == nullptr || value->type != REG_SZ || value->bytes.empty()) continue;
      const auto zero = std::find(value->bytes.begin(), value->bytes.end(), BYTE{0});
      stored = stored || zero + 1 == value->bytes.end();
    }
    Require(stored, "a write stores REG_SZ data that ends at its one zero byte");
  }
  return 0;
}
