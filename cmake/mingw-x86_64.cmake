# Cross-compiles the 64-bit Windows programs (regval64.exe) with Debian's MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(REGVAL_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
