# Tests of the Windows cross-build run under Wine, the toolchain file's
# emulator, in a scratch prefix: the fixture "wine" makes it anew before them
# and removes it after them. An end-to-end case lends the prefix's drive letters
# to folders of its own, so the tests take turns in it (RESOURCE_LOCK).
#
# The 32-bit build runs under Wine's 32-bit loader, Debian's wine32:i386
# (dpkg --add-architecture i386; apt-get update; apt-get install wine32:i386),
# in a 32-bit prefix that this loader makes (WINEARCH=win32), as a 32-bit
# Windows runs it: its programs and every library they load are 32-bit, and a
# library that does not clean up the stack as the sensor expects breaks the
# tests at run time. Where the kernel refuses 32-bit programs (ENOEXEC, "Exec
# format error"), every test of the 32-bit build that runs code is skipped
# (exit code 77) with that reason, decided by running the loader
# (tests/e2e/wine_prefix.py probe): the build and its binaries' check still run.
#
# run_under_wine(TEST...) gives tests the prefix; in other builds it does nothing.
# Without Wine the Windows build's tests are not built; without the 32-bit
# loader the 32-bit build has one test only, which fails and names what to install.
set(WINE_TEST_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
set(WINE_TEST_ENVIRONMENT WINEPREFIX=${WINE_TEST_PREFIX} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=)

if(WIN32 AND CMAKE_CROSSCOMPILING AND BUILD_TESTING)
  if(NOT WINE_LOADER AND NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
    message(WARNING "Wine was not found: the Windows build's tests are not built")
    set(BUILD_TESTING OFF)
  elseif(NOT WINE_LOADER)
    set(WINE32_MISSING "Wine's 32-bit loader (/usr/lib/wine/wine, Debian's wine32:i386) is missing: the 32-bit "
      "build's tests need it. As root: dpkg --add-architecture i386 && apt-get update && apt-get install wine32:i386, "
      "then configure again")
    string(JOIN "" WINE32_MISSING ${WINE32_MISSING})
    message(WARNING ${WINE32_MISSING})
    add_test(NAME wine/32-bit-loader COMMAND sh -c "echo \"$1\" >&2; exit 1" sh ${WINE32_MISSING})
    set(BUILD_TESTING OFF)
  else()
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      list(APPEND WINE_TEST_ENVIRONMENT WINEARCH=win32)
    endif()
    find_package(Python3 3.11 REQUIRED COMPONENTS Interpreter)
    set(WINE_PREFIX_SCRIPT ${PROJECT_SOURCE_DIR}/tests/e2e/wine_prefix.py)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      # Whether this machine runs 32-bit programs: said at configuration, and
      # by the test wine/32-bit-programs, skipped where the kernel refuses them.
      execute_process(COMMAND ${Python3_EXECUTABLE} ${WINE_PREFIX_SCRIPT} probe
        RESULT_VARIABLE WINE32_PROBE OUTPUT_VARIABLE WINE32_PROBE_TEXT OUTPUT_STRIP_TRAILING_WHITESPACE)
      if(WINE32_PROBE EQUAL 77)
        message(WARNING "${WINE32_PROBE_TEXT}")
      endif()
      add_test(NAME wine/32-bit-programs COMMAND ${Python3_EXECUTABLE} ${WINE_PREFIX_SCRIPT} probe)
      set_tests_properties(wine/32-bit-programs PROPERTIES SKIP_RETURN_CODE 77)
    endif()
    add_test(NAME wine/prefix-create
      COMMAND ${Python3_EXECUTABLE} ${WINE_PREFIX_SCRIPT} create ${WINE_TEST_PREFIX})
    add_test(NAME wine/prefix-remove
      COMMAND ${Python3_EXECUTABLE} ${WINE_PREFIX_SCRIPT} remove ${WINE_TEST_PREFIX})
    set_tests_properties(wine/prefix-create PROPERTIES
      FIXTURES_SETUP wine RESOURCE_LOCK wine-prefix TIMEOUT 600 ENVIRONMENT "${WINE_TEST_ENVIRONMENT}"
      SKIP_RETURN_CODE 77)
    set_tests_properties(wine/prefix-remove PROPERTIES
      FIXTURES_CLEANUP wine RESOURCE_LOCK wine-prefix ENVIRONMENT "${WINE_TEST_ENVIRONMENT}")
  endif()
endif()

function(run_under_wine)
  if(WIN32 AND CMAKE_CROSSCOMPILING)
    set_tests_properties(${ARGN} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine-prefix
      ENVIRONMENT "${WINE_TEST_ENVIRONMENT}" SKIP_RETURN_CODE 77)
  endif()
endfunction()
