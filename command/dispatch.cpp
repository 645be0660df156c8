// The command interpreter and the table of root key names.
#include "command/dispatch.h"

#include "command/tokenizer.h"

namespace {

struct RootName {
  const char* name;
  RootKey root;
};

// Folds only A-Z, as the "C" locale does, whatever the user's code page.
char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(const char* left, const char* right) {
  while (*left != '\0' && FoldCase(*left) == FoldCase(*right)) {
    ++left;
    ++right;
  }
  return FoldCase(*left) == FoldCase(*right);
}

}  // namespace

int LookupRootKey(const char* name, RootKey* rootOut) {
  if (rootOut == nullptr) return 0;
  static const RootName kRoots[] = {
      {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
      {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
      {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
      {"HKEY_USERS", HKEY_USERS},
      {"HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
      {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
      {"HKEY_DYN_DATA", HKEY_DYN_DATA},
  };
  *rootOut = nullptr;
  if (name == nullptr) return 0;
  for (const RootName& row : kRoots) {
    if (EqualsIgnoringCase(name, row.name)) {
      *rootOut = row.root;
      break;
    }
  }
  return *rootOut != nullptr ? 1 : 0;
}

int RunCommand(char* text) {
  ArgumentList arguments = {};
  SplitArguments(text, &arguments.count, arguments.slots, MaxArguments);
  if (arguments.count < 4) return 0;
  RootKey root = nullptr;
  if (LookupRootKey(arguments.slots[1], &root) == 0) return 0;
  // Slots start absent, so token 4 is null when only four tokens were given.
  char* const* token = arguments.slots;
  switch (token[0][0]) {
    case 'R':
    case 'r':
      return QueryValueToFile(root, token[2], token[3], token[4]);
    case 'W':
    case 'w':
      return SetStringValue(root, token[2], token[3], token[4]);
    default:
      return 0;
  }
}
