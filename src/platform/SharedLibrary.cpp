#include "platform/SharedLibrary.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include "platform/Files.h"

#ifdef _WIN32
void* LoadSharedLibrary(const std::string& name) {
    // No error dialog boxes: a sensor runs unattended.
    UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = nullptr;
    if (name.find_first_of("\\/:") == std::string::npos) {
        module = LoadLibraryA(name.c_str());  // a bare name: the usual search, the program's folder first
    } else {
        // A library named by its path finds the libraries it needs in its own
        // folder first, as a vendor library expects; that takes a full path.
        char full[MAX_PATH];
        DWORD length = GetFullPathNameA(name.c_str(), sizeof full, full, nullptr);
        if (length > 0 && length < sizeof full)
            module = LoadLibraryExA(full, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    SetErrorMode(previous);
    return reinterpret_cast<void*>(module);
}

void* FindLibrarySymbol(void* library, const char* symbol) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), symbol));
}

const char* DefaultRfcLibraryName() { return "librfc32.dll"; }
#else
void* LoadSharedLibrary(const std::string& name) {
    // A name with a directory is a path in the sensor's form; a bare name is
    // searched the platform's usual way.
    bool hasDirectory = name.find_first_of("/\\:") != std::string::npos;
    std::string path = hasDirectory ? NativePath(name) : name;
    return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* FindLibrarySymbol(void* library, const char* symbol) { return dlsym(library, symbol); }

const char* DefaultRfcLibraryName() { return "librfccm.so"; }
#endif
