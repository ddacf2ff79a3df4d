#include "platform/WholeFileReplacement.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#include <process.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

std::string Reason(int error) { return std::string("cannot be written: ") + std::strerror(error); }

#ifdef _WIN32
int ProcessId() { return _getpid(); }
#else
int ProcessId() { return static_cast<int>(getpid()); }
#endif

// Writes the whole content into a new file; errno tells why not.
bool WriteNewFile(const std::string& path, const std::string& content) {
#ifdef _WIN32
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written) errno = writeError;
    return written && closed;
#else
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (file < 0) return false;
    // Readable by others whatever the umask.
    bool written = fchmod(file, 0644) == 0;
    for (std::size_t done = 0; written && done < content.size();) {
        const ssize_t count = write(file, content.data() + done, content.size() - done);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) written = false;
        else done += static_cast<std::size_t>(count);
    }
    const int writeError = errno;
    written = written && fsync(file) == 0;
    const bool closed = close(file) == 0;
    if (!written) errno = writeError;
    return written && closed;
#endif
}

bool RenameOver(const std::string& from, const std::string& to) {
#ifdef _WIN32
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    errno = GetLastError() == ERROR_PATH_NOT_FOUND ? ENOENT : EACCES;
    return false;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

}  // namespace

std::string ReplaceWholeFile(const std::string& nativePath, const std::string& content) {
    const std::string temporary = nativePath + ".tmp" + std::to_string(ProcessId());
    // One left by a run of the same process id that was killed.
    std::remove(temporary.c_str());
    errno = 0;
    if (!WriteNewFile(temporary, content)) {
        const int error = errno;
        std::remove(temporary.c_str());
        return Reason(error);
    }
    if (!RenameOver(temporary, nativePath)) {
        const int error = errno;
        std::remove(temporary.c_str());
        return Reason(error);
    }
    return "";
}
