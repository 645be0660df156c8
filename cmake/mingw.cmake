# Shared by the per-architecture toolchain files: Debian's MinGW-w64 for REGVAL_MINGW_TRIPLE.
set(CMAKE_SYSTEM_NAME Windows)

# The win32 thread model for regval: no winpthread to carry. The system tests ask for posix
# (REGVAL_MINGW_THREADS), which GoogleTest's std::mutex needs.
if(NOT REGVAL_MINGW_THREADS)
  set(REGVAL_MINGW_THREADS win32)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES REGVAL_MINGW_THREADS)
set(CMAKE_C_COMPILER ${REGVAL_MINGW_TRIPLE}-gcc-${REGVAL_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${REGVAL_MINGW_TRIPLE}-g++-${REGVAL_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${REGVAL_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${REGVAL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Programs built here run under the Wine loader of their own architecture, or report that this
# machine cannot run them.
set(CMAKE_CROSSCOMPILING_EMULATOR bash ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine.sh
    ${CMAKE_SYSTEM_PROCESSOR})
