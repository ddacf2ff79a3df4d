# What the two mingw-w64 toolchain files share; they set MINGW_TRIPLE and
# CMAKE_SYSTEM_PROCESSOR first. The posix threads variant of the compilers.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests of the Windows builds run under Wine (cmake/WineTests.cmake), started by
# the loader of the build's word size itself, never by Debian's `wine` script:
# once wine32:i386 is installed, that script starts 64-bit programs too through
# the 32-bit loader, which some kernels refuse to run.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  find_program(WINE_LOADER wine PATHS /usr/lib/wine NO_DEFAULT_PATH)  # Debian's wine32:i386
  # The 32-bit loader through tests/e2e/wine_prefix.py, which skips the test
  # (exit code 77) on a kernel that refuses 32-bit programs.
  find_program(WINE_PYTHON python3)
  if(WINE_LOADER AND WINE_PYTHON)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_PYTHON} ${CMAKE_CURRENT_LIST_DIR}/../tests/e2e/wine_prefix.py run)
  endif()
else()
  find_program(WINE_LOADER wine64 PATHS /usr/lib/wine)  # Debian's wine64
  if(WINE_LOADER)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_LOADER})
  endif()
endif()
