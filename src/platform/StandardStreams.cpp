#include "platform/StandardStreams.h"

#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#else
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

#ifdef _WIN32

namespace {

constexpr DWORD StandardHandles[3] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};

// A process started without a stream has no standard handle for it, and the C
// runtime then keeps its descriptor open on no handle (-1, or -2 for "no
// console").
bool IsClosed(int descriptor) {
    HANDLE standard = GetStdHandle(StandardHandles[descriptor]);
    intptr_t runtime = _get_osfhandle(descriptor);
    return standard == nullptr || standard == INVALID_HANDLE_VALUE || runtime == -1 || runtime == -2;
}

void ReopenOnNullDevice(int descriptor) {
    HANDLE null = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (null == INVALID_HANDLE_VALUE) return;
    int opened = _open_osfhandle(reinterpret_cast<intptr_t>(null), descriptor == 0 ? _O_RDONLY : _O_WRONLY);
    if (opened < 0) {
        CloseHandle(null);
        return;
    }
    _dup2(opened, descriptor);
    _close(opened);
    // _dup2 sets the standard handle of a console program; a copy of its own keeps it whatever the runtime does.
    HANDLE copy = nullptr;
    if (DuplicateHandle(GetCurrentProcess(), reinterpret_cast<HANDLE>(_get_osfhandle(descriptor)), GetCurrentProcess(),
                        &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
        SetStdHandle(StandardHandles[descriptor], copy);
}

}  // namespace

bool SecureStandardStreams() {
    bool outputClosed = false;
    for (int descriptor = 0; descriptor < 3; ++descriptor) {
        if (!IsClosed(descriptor)) continue;
        if (descriptor == 1) outputClosed = true;
        ReopenOnNullDevice(descriptor);
    }
    return outputClosed;
}

bool WriteStandardOutput(const char* bytes, std::size_t count) {
    // In text mode the runtime counts the bytes given, not the carriage returns it adds.
    while (count > 0) {
        const unsigned piece = count > 0x10000 ? 0x10000u : static_cast<unsigned>(count);
        if (_write(1, bytes, piece) != static_cast<int>(piece)) return false;
        bytes += piece;
        count -= piece;
    }
    return true;
}

bool FinishStandardOutput() { return _close(1) == 0; }

bool ReadStandardInputSome(std::string& into) {
    _setmode(0, _O_BINARY);
    char piece[4096];
    const int count = _read(0, piece, sizeof piece);
    if (count <= 0) return false;
    into.append(piece, static_cast<std::size_t>(count));
    return true;
}

bool WriteStandardOutputBytes(const char* bytes, std::size_t count) {
    _setmode(1, _O_BINARY);
    return WriteStandardOutput(bytes, count);
}

#else

bool SecureStandardStreams() {
    bool outputClosed = false;
    for (int descriptor = 0; descriptor < 3; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) continue;
        if (descriptor == 1) outputClosed = true;
        // The lowest free descriptor is this one, as those below it are open.
        int null = open("/dev/null", descriptor == 0 ? O_RDONLY : O_WRONLY);
        if (null >= 0 && null != descriptor) {
            dup2(null, descriptor);
            close(null);
        }
    }
    std::signal(SIGPIPE, SIG_IGN);
    return outputClosed;
}

bool WriteStandardOutput(const char* bytes, std::size_t count) {
    while (count > 0) {
        ssize_t written = write(1, bytes, count);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

bool FinishStandardOutput() { return close(1) == 0 || errno == EINTR; }

bool ReadStandardInputSome(std::string& into) {
    char piece[4096];
    for (;;) {
        const ssize_t count = read(0, piece, sizeof piece);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return false;
        into.append(piece, static_cast<std::size_t>(count));
        return true;
    }
}

bool WriteStandardOutputBytes(const char* bytes, std::size_t count) { return WriteStandardOutput(bytes, count); }

#endif
