// A test program's library, loaded at run time as its callers load it, and
// the environment variables it reads.
#pragma once

#include <cstdlib>
#include <string>

#include "doctest.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

// An exported function of the library `path` (one library per test program).
inline void* LibrarySymbol(const char* path, const char* name)
{
#if defined(_WIN32)
    static HMODULE library = LoadLibraryA(path);
    return library != nullptr ? reinterpret_cast<void*>(GetProcAddress(library, name)) : nullptr;
#else
    static void* library = dlopen(path, RTLD_NOW);
    return library != nullptr ? dlsym(library, name) : nullptr;
#endif
}

template <typename Function>
Function LibraryFunction(const char* path, const char* name)
{
    void* address = LibrarySymbol(path, name);
    REQUIRE_MESSAGE(address != nullptr, name);
    return reinterpret_cast<Function>(address);
}

inline void SetVariable(const char* name, const std::string& value)
{
#if defined(_WIN32)
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}
