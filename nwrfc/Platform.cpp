#include "Platform.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace nwrfc {

bool FileExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::path(path), error);
}

#ifdef _WIN32

namespace {

bool HasFolder(const std::string& name)
{
    return name.find_first_of("/\\:") != std::string::npos;
}

}  // namespace

const char* DefaultNwLibraryName() { return "sapnwrfc.dll"; }

std::string OwnFolder()
{
    HMODULE self = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&OwnFolder), &self)) {
        return "";
    }
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(self, path, sizeof path);
    if (length == 0 || length >= sizeof path) return "";
    std::string folder(path, length);
    std::size_t separator = folder.find_last_of("\\/");
    return separator == std::string::npos ? "" : folder.substr(0, separator + 1);
}

void* LoadLibraryFile(const std::string& name, std::string& reason)
{
    // No error dialog boxes: the sensor runs unattended.
    UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = nullptr;
    if (!HasFolder(name)) {
        module = LoadLibraryA(name.c_str());
    } else {
        // SAP's library needs libsapucum.dll and the ICU libraries of its own folder.
        char full[MAX_PATH];
        DWORD length = GetFullPathNameA(name.c_str(), sizeof full, full, nullptr);
        if (length > 0 && length < sizeof full) module = LoadLibraryExA(full, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    DWORD error = GetLastError();
    SetErrorMode(previous);
    if (module == nullptr) {
        char text[256] = "";
        DWORD size = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                    sizeof text, nullptr);
        std::string message(text, size);
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
            message.pop_back();
        reason = "Windows error " + std::to_string(error) + (message.empty() ? "" : ": " + message);
    }
    return reinterpret_cast<void*>(module);
}

void* LibraryFunction(void* library, const char* name)
{
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

std::string CurrentDirectoryName(const std::string& name) { return name; }   // names are case-insensitive

#else

const char* DefaultNwLibraryName() { return "libsapnwrfc.so"; }

std::string OwnFolder()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&OwnFolder), &info) == 0 || info.dli_fname == nullptr) return "";
    std::string path = info.dli_fname;
    std::size_t separator = path.find_last_of('/');
    return separator == std::string::npos ? "" : path.substr(0, separator + 1);
}

void* LoadLibraryFile(const std::string& name, std::string& reason)
{
    void* library = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* error = dlerror();
        reason = error != nullptr ? error : "dlopen failed";
    }
    return library;
}

void* LibraryFunction(void* library, const char* name) { return dlsym(library, name); }

std::string CurrentDirectoryName(const std::string& name)
{
    if (FileExists(name)) return name;
    auto lower = [](std::string text) {
        for (char& c : text) {
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        return text;
    };
    std::string found;
    try {
        for (const auto& entry : std::filesystem::directory_iterator(".")) {
            std::string entry_name = entry.path().filename().string();
            if (lower(entry_name) == lower(name)) {
                if (!found.empty()) return name;   // several: none of them is the one
                found = entry_name;
            }
        }
    } catch (const std::exception&) {
        return name;
    }
    return found.empty() ? name : found;
}

#endif

}  // namespace nwrfc
