// A file replaced as a whole: a reader (node_exporter's textfile collector)
// sees the old content or the new, never a part.
#pragma once

#include <string>

// Writes the content to a temporary file beside `nativePath` (its name ends
// in ".tmp" and the process id, which no "*.prom" reader takes), then renames
// it over `nativePath`. The file is readable by others (0644): the reader runs
// as a user of its own. Returns an empty text, or why the file was not
// replaced ("cannot be written: No such file or directory"); the temporary
// file is then removed.
std::string ReplaceWholeFile(const std::string& nativePath, const std::string& content);
