#pragma once

#include <string>

// Why a library could not be loaded, as far as the system tells: a library
// built for the other word size than this program is told apart.
enum class LibraryLoadFault { NotLoaded, Library32Bit, Library64Bit };

// Loads a shared library at run time (LoadLibrary on Windows, dlopen elsewhere),
// a bare name found the platform's usual way. On Windows a library named with a
// directory finds the libraries it needs in its own folder first. Null when it
// cannot be loaded; `fault` then says why, and `reason`, when given, gets the
// loader's own words (dlerror, or the system's message on Windows).
void* LoadSharedLibrary(const std::string& name, LibraryLoadFault& fault, std::string* reason = nullptr);

// Address of an operation the library exports under its C name; null when it
// lacks it. On 32-bit Windows a library may export a __stdcall operation under
// its decorated name instead, "_Name@N" or (as mingw-w64 links it) "Name@N",
// N the bytes of its arguments: that name serves when the plain one is missing.
void* FindLibraryOperation(void* library, const std::string& name, unsigned argumentBytes);

// The library's file name used when SPACEWARDEN_RFC_LIBRARY names none.
const char* DefaultRfcLibraryName();
