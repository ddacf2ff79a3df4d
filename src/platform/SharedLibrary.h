#pragma once

#include <string>

// Loads a shared library at run time (LoadLibrary on Windows, dlopen elsewhere),
// a bare name found the platform's usual way. On Windows a library named with a
// directory finds the libraries it needs in its own folder first. Null when it
// cannot be loaded.
void* LoadSharedLibrary(const std::string& name);

// Address of an exported symbol; null when the library lacks it.
void* FindLibrarySymbol(void* library, const char* symbol);

// The library's file name used when SPACEWARDEN_RFC_LIBRARY names none.
const char* DefaultRfcLibraryName();
