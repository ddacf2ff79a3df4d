// The platform's own calls for the files the sensor opens. Only regular files
// count: a directory, FIFO, socket or device is refused before anything is
// read from it or written to it, and the opening itself never waits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// A descriptor (POSIX) or a handle (Windows); NoNativeHandle when none.
using NativeHandle = std::intptr_t;
constexpr NativeHandle NoNativeHandle = -1;

enum class FileAccess {
    Read,      // an existing file, from its start
    Truncate,  // created, or emptied when it exists
    Append,    // created when missing, written at its end
};

// Opens a regular file by its platform path; NoNativeHandle when it does not
// exist, cannot be opened or is no regular file. Then `whyNot`, when given,
// says why for a file that is there: "is a directory", "is not a regular
// file", "cannot be read: Permission denied" (or the platform's reason); it
// stays empty when nothing is there (and for the reserved device names).
NativeHandle OpenRegularFile(const std::string& nativePath, FileAccess access, std::string* whyNot = nullptr);

// Reads at most `room` bytes: the count, 0 at the end of the file, -1 on a read error.
long ReadNative(NativeHandle handle, char* into, std::size_t room);

// Writes all bytes; false on a write error.
bool WriteNative(NativeHandle handle, const char* bytes, std::size_t count);

// Closes the file; false when the platform reports an error (a write that
// failed late, on a network drive).
bool CloseNative(NativeHandle handle);

// A stream over a file opened with FileAccess::Append, for text lines (text
// mode on Windows); the stream owns the handle. Null when it cannot be made,
// and the handle is then closed.
std::FILE* AppendStreamOf(NativeHandle handle);

// True when the last component of a path is a name that Windows takes for a
// device wherever it stands: CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9
// (also with the digits 1, 2, 3 raised), CONIN$ and CONOUT$, in any letter
// case, with or without an extension, trailing dots or blanks ("con.P00",
// "nul ", "Aux.txt").
bool IsReservedDeviceName(const std::string& path);
