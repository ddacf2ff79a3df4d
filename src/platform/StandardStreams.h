// The process's standard streams as the platform has them.
#pragma once

#include <cstddef>
#include <string>

// Called first in the process, before any file is opened: each of the
// standard streams 0, 1 and 2 that is closed is reopened on the null device,
// so that no file the sensor opens later takes its place. On POSIX systems a
// reader of standard output that went away becomes a write error (SIGPIPE is
// ignored), as it is on Windows. True when standard output was closed.
bool SecureStandardStreams();

// Writes the bytes to standard output at once (text mode on Windows, as the C
// runtime's standard output). False on a write error.
bool WriteStandardOutput(const char* bytes, std::size_t count);

// A worker's streams, which carry bytes, not text: what standard input has
// (waiting for at least a byte; false at its end) appended to `into`, and bytes
// written to standard output unchanged (no CR added on Windows; false on a
// write error).
bool ReadStandardInputSome(std::string& into);
bool WriteStandardOutputBytes(const char* bytes, std::size_t count);

// Closes standard output at the end of the process, so that an error the
// platform reports only then (a full network drive) is seen. False on an error.
bool FinishStandardOutput();
