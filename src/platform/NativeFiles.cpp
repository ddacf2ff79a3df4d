#include "platform/NativeFiles.h"

#include <cerrno>
#include <climits>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c; }

bool SameIgnoringCase(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return i == a.size() && b[i] == '\0';
}

// The port digits of COM and LPT: 1 to 9, and the raised 1, 2 and 3 of code page 1252.
bool IsPortDigit(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return (c >= '1' && c <= '9') || u == 0xB9 || u == 0xB2 || u == 0xB3;
}

}  // namespace

bool IsReservedDeviceName(const std::string& path) {
    std::size_t start = path.find_last_of("\\/");
    start = start == std::string::npos ? 0 : start + 1;
    if (start == 0 && path.size() >= 2 && path[1] == ':') start = 2;  // "C:nul"
    // The device is named by what stands before the extension (or a stream
    // name), trailing blanks not counted.
    std::string base = path.substr(start, path.find_first_of(".:", start) - start);
    while (!base.empty() && base.back() == ' ') base.pop_back();

    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (SameIgnoringCase(base, device)) return true;
    return base.size() == 4 && IsPortDigit(base[3]) &&
           (SameIgnoringCase(base.substr(0, 3), "COM") || SameIgnoringCase(base.substr(0, 3), "LPT"));
}

#ifdef _WIN32

namespace {

HANDLE AsHandle(NativeHandle handle) { return reinterpret_cast<HANDLE>(handle); }

bool IsRegularFile(HANDLE handle) {
    if (GetFileType(handle) != FILE_TYPE_DISK) return false;
    BY_HANDLE_FILE_INFORMATION information;
    return GetFileInformationByHandle(handle, &information) &&
           (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Why a file that is there could not be opened, from the error of CreateFile.
std::string WhyNotOpened(const std::string& nativePath, DWORD error) {
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME) return "";
    const DWORD attributes = GetFileAttributesA(nativePath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return "is a directory";
    if (error == ERROR_ACCESS_DENIED) return "cannot be read: Permission denied";
    if (error == ERROR_SHARING_VIOLATION) return "cannot be read: another program has it open";
    if (attributes == INVALID_FILE_ATTRIBUTES) return "";
    return "cannot be read: Windows error " + std::to_string(error);
}

}  // namespace

NativeHandle OpenRegularFile(const std::string& nativePath, FileAccess access, std::string* whyNot) {
    if (whyNot) whyNot->clear();
    // Opening a device can itself wait (a serial port, the console), so its
    // names are refused before anything is opened.
    if (IsReservedDeviceName(nativePath)) return NoNativeHandle;
    const DWORD rights = access == FileAccess::Read ? GENERIC_READ : GENERIC_WRITE;
    const DWORD disposition = access == FileAccess::Read       ? OPEN_EXISTING
                              : access == FileAccess::Truncate ? CREATE_ALWAYS
                                                               : OPEN_ALWAYS;
    HANDLE handle = CreateFileA(nativePath.c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        if (whyNot) *whyNot = WhyNotOpened(nativePath, GetLastError());
        return NoNativeHandle;
    }
    if (!IsRegularFile(handle)) {
        CloseHandle(handle);
        if (whyNot) *whyNot = "is not a regular file";
        return NoNativeHandle;
    }
    return reinterpret_cast<NativeHandle>(handle);
}

long ReadNative(NativeHandle handle, char* into, std::size_t room) {
    DWORD got = 0;
    const DWORD asked = room > 0x10000 ? 0x10000 : static_cast<DWORD>(room);
    if (!ReadFile(AsHandle(handle), into, asked, &got, nullptr)) return -1;
    return static_cast<long>(got);
}

bool WriteNative(NativeHandle handle, const char* bytes, std::size_t count) {
    while (count > 0) {
        const DWORD asked = count > 0x10000 ? 0x10000 : static_cast<DWORD>(count);
        DWORD written = 0;
        if (!WriteFile(AsHandle(handle), bytes, asked, &written, nullptr) || written == 0) return false;
        bytes += written;
        count -= written;
    }
    return true;
}

bool CloseNative(NativeHandle handle) { return handle == NoNativeHandle || CloseHandle(AsHandle(handle)); }

std::FILE* AppendStreamOf(NativeHandle handle) {
    int descriptor = _open_osfhandle(handle, _O_APPEND | _O_TEXT);
    if (descriptor < 0) {
        CloseNative(handle);
        return nullptr;
    }
    std::FILE* stream = _fdopen(descriptor, "a");
    if (!stream) _close(descriptor);
    return stream;
}

#else

namespace {

std::string CannotBeRead(int error) { return std::string("cannot be read: ") + std::strerror(error); }

std::string NotRegular(const struct stat& information) {
    return S_ISDIR(information.st_mode) ? "is a directory" : "is not a regular file";
}

}  // namespace

NativeHandle OpenRegularFile(const std::string& nativePath, FileAccess access, std::string* whyNot) {
    if (whyNot) whyNot->clear();
    // What is known not to be a regular file is not even opened: opening some
    // devices does something of its own.
    struct stat information;
    if (stat(nativePath.c_str(), &information) == 0 && !S_ISREG(information.st_mode)) {
        if (whyNot) *whyNot = NotRegular(information);
        return NoNativeHandle;
    }

    // Without O_NONBLOCK the opening of a FIFO waits for its other end.
    int flags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    if (access == FileAccess::Read) flags |= O_RDONLY;
    if (access == FileAccess::Truncate) flags |= O_WRONLY | O_CREAT | O_TRUNC;
    if (access == FileAccess::Append) flags |= O_WRONLY | O_CREAT | O_APPEND;
    int descriptor;
    do descriptor = open(nativePath.c_str(), flags, 0666);
    while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) {
        if (whyNot && errno != ENOENT && errno != ENOTDIR && errno != ENAMETOOLONG) *whyNot = CannotBeRead(errno);
        return NoNativeHandle;
    }
    // It may have been replaced after the look above.
    if (fstat(descriptor, &information) != 0 || !S_ISREG(information.st_mode)) {
        if (whyNot) *whyNot = NotRegular(information);
        close(descriptor);
        return NoNativeHandle;
    }
    return descriptor;
}

long ReadNative(NativeHandle handle, char* into, std::size_t room) {
    if (room > LONG_MAX) room = LONG_MAX;
    ssize_t got;
    do got = read(static_cast<int>(handle), into, room);
    while (got < 0 && errno == EINTR);
    return got < 0 ? -1 : static_cast<long>(got);
}

bool WriteNative(NativeHandle handle, const char* bytes, std::size_t count) {
    while (count > 0) {
        ssize_t written = write(static_cast<int>(handle), bytes, count);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

bool CloseNative(NativeHandle handle) {
    // Not repeated after EINTR: the descriptor is gone whatever close says.
    return handle == NoNativeHandle || close(static_cast<int>(handle)) == 0 || errno == EINTR;
}

std::FILE* AppendStreamOf(NativeHandle handle) {
    std::FILE* stream = fdopen(static_cast<int>(handle), "a");
    if (!stream) CloseNative(handle);
    return stream;
}

#endif
