// What the adapter needs of the operating system: loading SAP's library at
// run time, the folder the adapter itself was loaded from, and finding a
// file of the current directory in any letter case.
#pragma once

#include <string>
#include <vector>

namespace nwrfc {

// The default file name of SAP's library: "sapnwrfc.dll" on Windows,
// "libsapnwrfc.so" elsewhere.
const char* DefaultNwLibraryName();

// The folder of the adapter's own file, ending in its separator; empty when
// it cannot be told.
std::string OwnFolder();

// Whether a file of that name exists.
bool FileExists(const std::string& path);

// Loads a library: a name with a folder from that file, its own folder
// searched first for the libraries it needs; a bare name the platform's
// usual way. Null, with `reason` set, when it cannot be loaded.
void* LoadLibraryFile(const std::string& name, std::string& reason);

// The address of an exported function; null when the library lacks it.
void* LibraryFunction(void* library, const char* name);

// Appends lines to a text file (CR LF line ends on Windows), made when it is
// missing. A name that is not a regular file (a FIFO, a device, a folder) is
// left alone without waiting on it; false then, or when it cannot be written.
bool AppendTextLines(const char* path, const std::vector<std::string>& lines);

// The name under which a file of the current directory exists: `name`
// itself, or on a system whose names are case-sensitive the one entry that
// equals it in another letter case; `name` when there is none.
std::string CurrentDirectoryName(const std::string& name);

}  // namespace nwrfc
