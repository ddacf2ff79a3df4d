# Tests of the Windows cross-build run under Wine, the toolchain file's
# emulator, in a scratch prefix: the fixture "wine" makes it anew before them
# and removes it after them. An end-to-end case lends the prefix's drive letters
# to folders of its own, so the tests take turns in it (RESOURCE_LOCK).
#
# run_under_wine(TEST...) gives tests the prefix; in other builds it does nothing.
# Without Wine the Windows build's tests are not built at all.
set(WINE_TEST_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)

if(WIN32 AND CMAKE_CROSSCOMPILING AND BUILD_TESTING)
  if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    message(WARNING "Wine was not found: the Windows build's tests are not built")
    set(BUILD_TESTING OFF)
  else()
    find_package(Python3 3.11 REQUIRED COMPONENTS Interpreter)
    set(WINE_PREFIX_SCRIPT ${PROJECT_SOURCE_DIR}/tests/e2e/wine_prefix.py)
    add_test(NAME wine/prefix-create
      COMMAND ${Python3_EXECUTABLE} ${WINE_PREFIX_SCRIPT} create ${WINE_TEST_PREFIX})
    add_test(NAME wine/prefix-remove
      COMMAND ${Python3_EXECUTABLE} ${WINE_PREFIX_SCRIPT} remove ${WINE_TEST_PREFIX})
    set_tests_properties(wine/prefix-create PROPERTIES
      FIXTURES_SETUP wine RESOURCE_LOCK wine-prefix TIMEOUT 600)
    set_tests_properties(wine/prefix-remove PROPERTIES
      FIXTURES_CLEANUP wine RESOURCE_LOCK wine-prefix)
  endif()
endif()

function(run_under_wine)
  if(WIN32 AND CMAKE_CROSSCOMPILING)
    set_tests_properties(${ARGN} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine-prefix
      ENVIRONMENT "WINEPREFIX=${WINE_TEST_PREFIX};WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=")
  endif()
endfunction()
