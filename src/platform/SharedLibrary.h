#pragma once

#include <string>

// Loads a shared library at run time (LoadLibrary on Windows, dlopen elsewhere),
// found the platform's usual way. Null when it cannot be loaded.
void* LoadSharedLibrary(const std::string& name);

// Address of an exported symbol; null when the library lacks it.
void* FindLibrarySymbol(void* library, const char* symbol);

// The library's file name used when SPACEWARDEN_RFC_LIBRARY names none.
const char* DefaultRfcLibraryName();
