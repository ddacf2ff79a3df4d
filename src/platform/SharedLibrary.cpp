#include "platform/SharedLibrary.h"

#ifdef _WIN32
#include <windows.h>

#include <cstdint>
#include <cstdio>
#else
#include <dlfcn.h>

#include <cstring>
#endif

#include "platform/Files.h"

#ifdef _WIN32
namespace {

// The word size a Windows image file is built for, from the machine type in its
// PE header: 32 (x86), 64 (x64), or 0 when it is no such image.
int ImageBits(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return 0;
    unsigned char dos[64];
    unsigned char pe[6];
    bool read = std::fread(dos, 1, sizeof dos, file) == sizeof dos && dos[0] == 'M' && dos[1] == 'Z';
    if (read) {
        std::uint32_t offset = dos[0x3C] | dos[0x3D] << 8 | dos[0x3E] << 16 | static_cast<std::uint32_t>(dos[0x3F]) << 24;
        read = std::fseek(file, static_cast<long>(offset & 0x7FFFFFFF), SEEK_SET) == 0 &&
               std::fread(pe, 1, sizeof pe, file) == sizeof pe && pe[0] == 'P' && pe[1] == 'E' && pe[2] == 0 && pe[3] == 0;
    }
    std::fclose(file);
    if (!read) return 0;
    switch (pe[4] | pe[5] << 8) {
        case IMAGE_FILE_MACHINE_I386: return 32;
        case IMAGE_FILE_MACHINE_AMD64: return 64;
        default: return 0;
    }
}

// Windows answers ERROR_BAD_EXE_FORMAT for a library of the other word size,
// but also for any file that is no library at all: the file's own header tells.
LibraryLoadFault LoadFault(DWORD error, const std::string& name, const char* full) {
    if (error != ERROR_BAD_EXE_FORMAT) return LibraryLoadFault::NotLoaded;
    char found[MAX_PATH];
    if (!full) {  // a bare name: the file the search found
        DWORD length = SearchPathA(nullptr, name.c_str(), nullptr, sizeof found, found, nullptr);
        if (length == 0 || length >= sizeof found) return LibraryLoadFault::NotLoaded;
        full = found;
    }
    int bits = ImageBits(full);
    if (bits == 32 && sizeof(void*) == 8) return LibraryLoadFault::Library32Bit;
    if (bits == 64 && sizeof(void*) == 4) return LibraryLoadFault::Library64Bit;
    return LibraryLoadFault::NotLoaded;
}

}  // namespace

// The system's message for an error, without its line end and full stop.
std::string SystemMessage(DWORD error) {
    char text[256] = "";
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                        text, sizeof text, nullptr);
    std::string message(text, length < sizeof text ? length : 0);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.' ||
                                message.back() == ' '))
        message.pop_back();
    return message.empty() ? "Windows error " + std::to_string(error) : message;
}

void* LoadSharedLibrary(const std::string& name, LibraryLoadFault& fault, std::string* reason) {
    // No error dialog boxes: a sensor runs unattended.
    UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = nullptr;
    DWORD error = ERROR_MOD_NOT_FOUND;
    char full[MAX_PATH];
    bool bare = name.find_first_of("\\/:") == std::string::npos;
    if (bare) {
        module = LoadLibraryA(name.c_str());  // a bare name: the usual search, the program's folder first
        if (!module) error = GetLastError();
    } else {
        // A library named by its path finds the libraries it needs in its own
        // folder first, as a vendor library expects; that takes a full path.
        DWORD length = GetFullPathNameA(name.c_str(), sizeof full, full, nullptr);
        if (length > 0 && length < sizeof full) {
            module = LoadLibraryExA(full, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
            if (!module) error = GetLastError();
        }
    }
    SetErrorMode(previous);
    fault = module ? LibraryLoadFault::NotLoaded : LoadFault(error, name, bare ? nullptr : full);
    if (!module && reason) *reason = SystemMessage(error);
    return reinterpret_cast<void*>(module);
}

void* FindLibraryOperation(void* library, const std::string& name, unsigned argumentBytes) {
    HMODULE module = static_cast<HMODULE>(library);
    FARPROC operation = GetProcAddress(module, name.c_str());
#ifndef _WIN64
    std::string decorated = "_" + name + "@" + std::to_string(argumentBytes);
    if (!operation) operation = GetProcAddress(module, decorated.c_str());
    if (!operation) operation = GetProcAddress(module, decorated.c_str() + 1);
#else
    (void)argumentBytes;  // x64 has one convention and no decorated names
#endif
    return reinterpret_cast<void*>(operation);
}

const char* DefaultRfcLibraryName() { return "librfc32.dll"; }
#else
void* LoadSharedLibrary(const std::string& name, LibraryLoadFault& fault, std::string* reason) {
    // A name with a directory is a path in the sensor's form; a bare name is
    // searched the platform's usual way.
    bool hasDirectory = name.find_first_of("/\\:") != std::string::npos;
    std::string path = hasDirectory ? NativePath(name) : name;
    fault = LibraryLoadFault::NotLoaded;
    // An empty name would give the program itself.
    if (path.empty()) return nullptr;
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        // The loader's own words for an ELF file of the other word size.
        const char* error = dlerror();
        if (reason) {
            // The loader's words without the path it begins with, which the caller names already.
            *reason = error ? error : "";
            if (reason->rfind(path + ": ", 0) == 0) reason->erase(0, path.size() + 2);
        }
        if (error && std::strstr(error, "wrong ELF class: ELFCLASS32")) fault = LibraryLoadFault::Library32Bit;
        if (error && std::strstr(error, "wrong ELF class: ELFCLASS64")) fault = LibraryLoadFault::Library64Bit;
    }
    return library;
}

void* FindLibraryOperation(void* library, const std::string& name, unsigned) { return dlsym(library, name.c_str()); }

const char* DefaultRfcLibraryName() { return "librfccm.so"; }
#endif
