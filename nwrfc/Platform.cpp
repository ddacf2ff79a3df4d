#include "Platform.h"

#include <filesystem>
#include <system_error>

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
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

bool AppendTextLines(const char* path, const std::vector<std::string>& lines)
{
    // Only a regular file, or none yet: a device name or a pipe is not opened.
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)))
        return false;
    HANDLE probe = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) return false;
    bool regular = GetFileType(probe) == FILE_TYPE_DISK;
    CloseHandle(probe);
    if (!regular) return false;
    std::FILE* file = std::fopen(path, "a");   // text mode: CR LF
    if (file == nullptr) return false;
    bool written = true;
    for (const std::string& line : lines) written = written && std::fprintf(file, "%s\n", line.c_str()) >= 0;
    return std::fclose(file) == 0 && written;
}

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

bool AppendTextLines(const char* path, const std::vector<std::string>& lines)
{
    // O_NONBLOCK: a FIFO without a reader is not waited on; then only a regular file is written.
    int descriptor = open(path, O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (descriptor < 0) return false;
    struct stat status;
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(descriptor);
        return false;
    }
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    bool written = true;
    for (std::size_t done = 0; written && done < text.size();) {
        ssize_t count = write(descriptor, text.data() + done, text.size() - done);
        written = count > 0;
        if (written) done += static_cast<std::size_t>(count);
    }
    return close(descriptor) == 0 && written;
}

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
