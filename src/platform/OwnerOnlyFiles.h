// Files that hold a password: created readable by their owner only, and a
// profile that others may read told apart.
#pragma once

#include <cstdio>
#include <string>

// Creates a file, or empties an existing one, for writing text, readable and
// writable by its owner only (mode 0600 on POSIX, also when it existed with a
// wider mode). On Windows the file takes the access rights of its folder, as
// every file created there does. Null when it cannot be created.
std::FILE* CreateOwnerOnlyFile(const std::string& nativePath);

// The file's permission bits as four octal digits ("0644") when its group or
// others may read it; empty when only its owner may, when it cannot be told, and
// on Windows, where access is granted by the folder's access control list.
std::string ModeOpenToOthers(const std::string& nativePath);
