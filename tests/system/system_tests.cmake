# Included by the Windows build: builds the system-test program of this architecture
# (system_tests.exe or system_tests64.exe, beside the program it tests) and runs it under Wine in
# a fresh prefix. Where this machine cannot run programs of this architecture, scripts/wine.sh
# says why and the test is reported as skipped.
include(ExternalProject)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(system_tests system_tests64)
else()
  set(system_tests system_tests)
endif()
ExternalProject_Add(system_tests
  SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/system-tests
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
             -DREGVAL_MINGW_THREADS=posix
             -DCMAKE_BUILD_TYPE=Release
             -DCMAKE_RUNTIME_OUTPUT_DIRECTORY=${CMAKE_BINARY_DIR}
             -DREGVAL_SYSTEM_TESTS_NAME=${system_tests}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${CMAKE_BINARY_DIR}/${system_tests}.exe)

# Wine shows the Linux file system as drive Z:.
function(regval_wine_path out path)
  string(REPLACE "/" "\\" windows "Z:${path}")
  set(${out} "${windows}" PARENT_SCOPE)
endfunction()

regval_wine_path(program "${CMAKE_BINARY_DIR}/${REGVAL_PROGRAM}.exe")
set(arguments "${program}")
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
  # The 32-bit run also shows the two registry views, with regval64.exe from the windows64 build.
  set(REGVAL_WINDOWS64_BUILD_DIR "${PROJECT_SOURCE_DIR}/build/windows64"
      CACHE PATH "Build folder of the windows64 preset (regval64.exe)")
  regval_wine_path(other "${REGVAL_WINDOWS64_BUILD_DIR}/regval64.exe")
  list(APPEND arguments "${other}")
endif()

set(prefix "${CMAKE_BINARY_DIR}/wineprefix")
add_test(NAME wine_prefix_boot COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/boot-prefix.sh "${prefix}")
add_test(NAME wine_prefix_stop COMMAND sh -c "wineserver -k 2>/dev/null || true")
set_tests_properties(wine_prefix_boot PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 300)
set_tests_properties(wine_prefix_stop PROPERTIES FIXTURES_CLEANUP wine_prefix
                     ENVIRONMENT "WINEPREFIX=${prefix}")
add_test(NAME system_tests_${REGVAL_PROGRAM}
         COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} ${CMAKE_BINARY_DIR}/${system_tests}.exe ${arguments})
set_tests_properties(system_tests_${REGVAL_PROGRAM} PROPERTIES
  FIXTURES_REQUIRED wine_prefix ENVIRONMENT "WINEPREFIX=${prefix}" SKIP_RETURN_CODE 77
  TIMEOUT 600)
