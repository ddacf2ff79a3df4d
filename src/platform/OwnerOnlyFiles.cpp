#include "platform/OwnerOnlyFiles.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef _WIN32

std::FILE* CreateOwnerOnlyFile(const std::string& nativePath) { return std::fopen(nativePath.c_str(), "w"); }

std::string ModeOpenToOthers(const std::string&) { return ""; }

#else

std::FILE* CreateOwnerOnlyFile(const std::string& nativePath) {
    // Without waiting on a FIFO that has no reader; only a regular file is written.
    const int descriptor =
        open(nativePath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0600);
    if (descriptor < 0) return nullptr;
    // An existing file keeps its mode on opening: narrowed before anything is written.
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || fchmod(descriptor, 0600) != 0 ||
        fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) != 0) {
        close(descriptor);
        return nullptr;
    }
    std::FILE* file = fdopen(descriptor, "w");
    if (!file) close(descriptor);
    return file;
}

std::string ModeOpenToOthers(const std::string& nativePath) {
    struct stat status {};
    if (stat(nativePath.c_str(), &status) != 0 || (status.st_mode & (S_IRGRP | S_IROTH)) == 0) return "";
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(status.st_mode & 07777));
    return mode;
}

#endif
