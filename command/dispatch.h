// The command interpreter: command tail -> tokens -> root key -> one registry operation.
#pragma once
#include "registry/value_operations.h"

constexpr int MaxArguments = 10;

// Token pointers into the command tail; slots at or beyond count are absent.
struct ArgumentList {
  char* slots[MaxArguments];
  int count;
};

// Runs the command in text (cut in place). 1 when the operation succeeded, else 0.
int RunCommand(char* text);

// Sets *rootOut to the root named by name (whole name, A-Z folded) or to null; 1 when found.
// A null rootOut gives 0 and is left alone.
int LookupRootKey(const char* name, RootKey* rootOut);
