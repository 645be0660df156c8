// A second floor: a do-nothing GUI program that also imports advapi32, as any registry tool must.
#include "platform/win32.h"

int main() {
  RegCloseKey(nullptr);
  return 0;
}
