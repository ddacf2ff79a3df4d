#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#define DOCTEST_CONFIG_NO_MULTITHREADING   // one thread; also builds with win32-thread toolchains
#include "doctest.h"
