# Tests of the Windows cross-build run under Wine, the toolchain file's
# emulator, in a scratch prefix: the fixture "wine" makes it anew before them
# and removes it after them. An end-to-end case lends the prefix's drive letters
# to folders of its own, so the tests take turns in it (RESOURCE_LOCK).
#
# The 32-bit build runs under the same 64-bit Wine in its WoW64 mode, which
# needs Wine's 32-bit Windows DLLs: tests/e2e/wine_i386.sh puts them into
# WINE_I386_DLLS, and Wine finds them there through WINEDLLPATH.
#
# run_under_wine(TEST...) gives tests the prefix; in other builds it does nothing.
# Without Wine (or, for the 32-bit build, its 32-bit DLLs) the Windows build's
# tests are not built at all.
set(WINE_TEST_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
set(WINE_TEST_ENVIRONMENT WINEPREFIX=${WINE_TEST_PREFIX} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=)

if(WIN32 AND CMAKE_CROSSCOMPILING AND BUILD_TESTING)
  set(WINE_I386_DLLS ${PROJECT_SOURCE_DIR}/build/wine-i386 CACHE PATH
    "Wine's 32-bit Windows DLLs for the 32-bit build's tests (tests/e2e/wine_i386.sh)")
  if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    message(WARNING "Wine was not found: the Windows build's tests are not built")
    set(BUILD_TESTING OFF)
  elseif(CMAKE_SIZEOF_VOID_P EQUAL 4 AND NOT EXISTS ${WINE_I386_DLLS}/i386-windows/ntdll.dll)
    message(WARNING "Wine's 32-bit DLLs are not in ${WINE_I386_DLLS}: the 32-bit build's tests "
      "are not built (tests/e2e/wine_i386.sh fetches them)")
    set(BUILD_TESTING OFF)
  else()
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      list(APPEND WINE_TEST_ENVIRONMENT WINEDLLPATH=${WINE_I386_DLLS})
    endif()
    find_package(Python3 3.11 REQUIRED COMPONENTS Interpreter)
    set(WINE_PREFIX_SCRIPT ${PROJECT_SOURCE_DIR}/tests/e2e/wine_prefix.py)
    add_test(NAME wine/prefix-create
      COMMAND ${Python3_EXECUTABLE} ${WINE_PREFIX_SCRIPT} create ${WINE_TEST_PREFIX})
    add_test(NAME wine/prefix-remove
      COMMAND ${Python3_EXECUTABLE} ${WINE_PREFIX_SCRIPT} remove ${WINE_TEST_PREFIX})
    set_tests_properties(wine/prefix-create PROPERTIES
      FIXTURES_SETUP wine RESOURCE_LOCK wine-prefix TIMEOUT 600 ENVIRONMENT "${WINE_TEST_ENVIRONMENT}")
    set_tests_properties(wine/prefix-remove PROPERTIES
      FIXTURES_CLEANUP wine RESOURCE_LOCK wine-prefix ENVIRONMENT "${WINE_TEST_ENVIRONMENT}")
  endif()
endif()

function(run_under_wine)
  if(WIN32 AND CMAKE_CROSSCOMPILING)
    set_tests_properties(${ARGN} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine-prefix
      ENVIRONMENT "${WINE_TEST_ENVIRONMENT}")
  endif()
endfunction()
