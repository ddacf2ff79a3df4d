# Cross-build for 32-bit Windows (x86) with mingw-w64 (Debian package
# g++-mingw-w64-i686), for hosts whose SAP RFC library is the 32-bit librfc32.dll.
# Its tests run under Wine's 32-bit loader (Debian's wine32:i386) in a 32-bit
# prefix (cmake/WineTests.cmake).
set(MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
