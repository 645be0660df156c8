// The one place that knows which build this is: the real Windows headers, or our Linux stand-in.
#pragma once
#ifdef _WIN32
#  ifndef WIN32_LEAN_AND_MEAN
#    define WIN32_LEAN_AND_MEAN
#  endif
#  include <windows.h>
#else
#  include "platform/standin.h"
#endif
