// Paths in the sensor's Windows form (backslashes, drive letters, the current
// drive) and the paths of the platform that opens them.
#pragma once

#include <string>

// Turns a path in the sensor's Windows form into one the platform opens.
// On Windows it is unchanged. Elsewhere a backslash becomes "/", and drives are
// the folders SPACEWARDEN_DRIVES/<letter> ("/" without it); the current drive is
// the one whose folder holds the working directory (c when none does):
// "X:\a\b" -> "$SPACEWARDEN_DRIVES/x/a/b", "\a\b" -> the same on the current drive,
// "X:a" -> "a" when X is the current drive, else "$SPACEWARDEN_DRIVES/x/a" (the
// drive's root, as no directory is current there); after "X:" a "/" separates as
// a backslash does. Relative paths stay relative, and so do paths that begin with
// "/". As on Windows, a name that does not exist as written is found in another
// letter case (a to z). The lookup is made once per run: a name that exists as
// written costs one look, and what a folder holds is read for names in another
// case only once, and again only after the folder has changed. A path longer
// than the platform opens (MAX_PATH, PATH_MAX) gives an empty path, which
// names no file, without being looked up; a path's lookup costs time about
// linear in its length.
std::string NativePath(const std::string& path);

// The same for a file the sensor is about to create, write or delete: its
// folder is read afresh for it, and again at the next lookup after the change.
std::string NativePathForChange(const std::string& path);

// Tells the path layer that something beside the sensor (the RFC library
// writing its trace file) may have created or removed files in the folder of
// `path`, so that the next lookup there reads the folder again.
void FolderMayHaveChanged(const std::string& path);

// What the path layer has read for names in another letter case, for the
// checks that a long listing costs the same for each of its systems.
struct PathLookupCounts {
    unsigned long DirectoryReads = 0;
    unsigned long EntriesRead = 0;
    unsigned long ExistenceChecks = 0;      // paths asked whether they exist as written
    unsigned long long PathBytesChecked = 0;  // their characters, all told
};
const PathLookupCounts& PathLookupTally();
void ResetPathLookupTally();

// Forgets the folders read, the drives root and the current drive, which are
// otherwise taken once per run (for tests that change them).
void ForgetPathLookups();
