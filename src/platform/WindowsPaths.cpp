#include "platform/WindowsPaths.h"

#include "platform/ProcessContext.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>
#endif

namespace {

// The longest path the platform opens (MAX_PATH, PATH_MAX, without the
// terminator). A longer one names no file: it is not looked up at all.
#ifdef _WIN32
constexpr std::size_t PathRoom = MAX_PATH - 1;
#else
constexpr std::size_t PathRoom = PATH_MAX - 1;
#endif

#ifdef _WIN32
std::string ToNative(const std::string& path) { return path; }
void ForgetListingOf(const std::string&) {}
#else
bool HasDriveLetter(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string ReadDrivesRoot() {
    const char* root = std::getenv("SPACEWARDEN_DRIVES");
    std::string drives = root ? root : "";
    while (!drives.empty() && drives.back() == '/') drives.pop_back();
    return drives;
}

// The drive that holds the working directory: the letter of the folder below
// the drives root in which it lies, or c when it lies outside them.
char FindCurrentDrive(const std::string& drives) {
    char* real = realpath(drives.empty() ? "/" : drives.c_str(), nullptr);
    std::string root = real ? real : "";
    std::free(real);
    std::error_code error;
    std::string cwd = std::filesystem::current_path(error).string();
    if (root.empty() || error) return 'c';
    if (root != "/") root += '/';
    if (cwd.size() > root.size() && cwd.compare(0, root.size(), root) == 0 &&
        (cwd.size() == root.size() + 1 || cwd[root.size() + 1] == '/')) {
        char letter = cwd[root.size()];
        if (letter >= 'a' && letter <= 'z') return letter;
    }
    return 'c';
}

DrivesRecord& Drives = Process.Paths.Drives;

const DrivesRecord& KnownDrives() {
    if (!Drives.Known) {
        Drives.Root = ReadDrivesRoot();
        Drives.Current = FindCurrentDrive(Drives.Root);
        Drives.Known = true;
    }
    return Drives;
}

char FoldChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c; }

bool FoldedLess(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(FoldChar(x)) < static_cast<unsigned char>(FoldChar(y));
    });
}

bool FoldedEqual(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return FoldChar(x) == FoldChar(y);
    });
}

std::unordered_map<std::string, DirectoryListing>& Listings = Process.Paths.Listings;

bool SameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }
bool NotBefore(const timespec& a, const timespec& b) {
    return a.tv_sec > b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec >= b.tv_nsec);
}

// The listing of a directory, read again when it changed; null when it cannot be read.
const DirectoryListing* ListingOf(const std::string& folder) {
    struct stat info;
    if (stat(folder.c_str(), &info) != 0) return nullptr;
    auto known = Listings.find(folder);
    if (known != Listings.end() && known->second.Settled && known->second.Device == info.st_dev &&
        known->second.Inode == info.st_ino && SameTime(known->second.Modified, info.st_mtim))
        return &known->second;

    timespec readStart{};
    clock_gettime(CLOCK_REALTIME_COARSE, &readStart);
    DIR* directory = opendir(folder.c_str());
    if (!directory) return nullptr;
    DirectoryListing& listing = Listings[folder];
    listing = DirectoryListing{};
    listing.Device = info.st_dev;
    listing.Inode = info.st_ino;
    listing.Modified = info.st_mtim;
    listing.Settled = !NotBefore(info.st_mtim, readStart);
    ++Process.Paths.Counts.DirectoryReads;
    while (const dirent* entry = readdir(directory)) {
        ++Process.Paths.Counts.EntriesRead;
        listing.ByFoldedName.push_back(static_cast<std::uint32_t>(listing.Names.size()));
        listing.Names.append(entry->d_name);
        listing.Names.push_back('\0');
    }
    closedir(directory);
    std::stable_sort(listing.ByFoldedName.begin(), listing.ByFoldedName.end(),
                     [&listing](std::uint32_t a, std::uint32_t b) {
                         return FoldedLess(listing.NameAt(a), listing.NameAt(b));
                     });
    return &listing;
}

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Forgets the folder of a path under every name it was read by.
void ForgetListingOf(const std::string& nativePath) {
    const std::string folder = FolderOf(nativePath);
    struct stat info;
    const bool known = stat(folder.c_str(), &info) == 0;
    for (auto listing = Listings.begin(); listing != Listings.end();) {
        bool same = listing->first == folder ||
                    (known && listing->second.Device == info.st_dev && listing->second.Inode == info.st_ino);
        listing = same ? Listings.erase(listing) : std::next(listing);
    }
}

bool EntryExists(const std::string& path) {
    ++Process.Paths.Counts.ExistenceChecks;
    Process.Paths.Counts.PathBytesChecked += path.size();
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

// Windows finds a file whatever the letter case of its name: a component that
// does not exist as written is replaced by an entry of its folder whose name
// differs in the case of a to z only. A name that exists as written costs one
// look; otherwise the longest beginning of the path that exists as written is
// found by halving (a beginning exists when a longer one does), so a path of
// many components costs a few looks, not one per component, and the folders
// after it are read.
std::string MatchLetterCase(const std::string& path) {
    if (EntryExists(path)) return path;

    // Where each component ends; the first `count` components are path.substr(0, ends[count - 1]).
    std::vector<std::size_t> ends;
    std::size_t position = !path.empty() && path[0] == '/' ? 1 : 0;
    const std::string root = position == 1 ? "/" : "";
    while (position <= path.size()) {
        std::size_t end = path.find('/', position);
        if (end == std::string::npos) end = path.size();
        ends.push_back(end);
        position = end + 1;
    }
    if (ends.empty()) return path;
    auto components = [&](std::size_t count) { return count == 0 ? root : path.substr(0, ends[count - 1]); };
    auto component = [&](std::size_t index) {
        std::size_t start = index == 0 ? root.size() : ends[index - 1] + 1;
        return path.substr(start, ends[index] - start);
    };
    auto looksUp = [](const std::string& name) { return !name.empty() && name != "." && name != ".."; };

    // The first `exists` components exist as written; the whole path does not.
    std::size_t exists = 0;
    std::size_t missing = ends.size();
    while (missing - exists > 1) {
        std::size_t middle = exists + (missing - exists) / 2;
        if (EntryExists(components(middle)))
            exists = middle;
        else
            missing = middle;
    }

    std::string result = components(exists);
    bool found = true;
    for (std::size_t i = exists; i < ends.size(); ++i) {
        std::string name = component(i);
        if (found && looksUp(name)) {
            const DirectoryListing* listing = ListingOf(result.empty() ? "." : result);
            std::string entry = listing ? listing->EntryNamed(name) : "";
            found = !entry.empty();
            if (found) name = entry;
        }
        if (!result.empty() && result.back() != '/') result += '/';
        result += name;
    }
    return result;
}

std::string ToNative(const std::string& path) {
    std::string rest = path;
    std::string prefix;
    if (HasDriveLetter(path) || (!path.empty() && path[0] == '\\')) {
        const DrivesRecord& drives = KnownDrives();
        char drive = drives.Current;
        if (HasDriveLetter(path)) {
            drive = static_cast<char>(path[0] | 0x20);
            rest = path.substr(2);
        }
        if (drive == drives.Current && (rest.empty() || !IsSeparator(rest[0]))) {
            // "X:a" on the current drive: relative to the working directory.
            if (rest.empty()) rest.assign(1, '.');
        } else {
            // Another drive's "X:a" starts at its root, as no directory is current there.
            prefix = drives.Root;
            prefix += '/';
            prefix += drive;
            if (!rest.empty() && !IsSeparator(rest[0])) prefix += '/';
        }
    }
    for (char& c : rest)
        if (c == '\\') c = '/';
    std::string native = prefix + rest;
    if (native.size() > PathRoom) return "";
    return MatchLetterCase(native);
}
#endif

}  // namespace

#ifndef _WIN32
std::string DirectoryListing::EntryNamed(const std::string& component) const {
    auto entry = std::lower_bound(ByFoldedName.begin(), ByFoldedName.end(), component,
                                  [this](std::uint32_t start, const std::string& name) {
                                      return FoldedLess(NameAt(start), name);
                                  });
    std::string match;
    for (; entry != ByFoldedName.end() && FoldedEqual(NameAt(*entry), component); ++entry) {
        if (NameAt(*entry) == component) return component;
        if (match.empty()) match = NameAt(*entry);
    }
    return match;
}
#endif

const PathLookupCounts& PathLookupTally() { return Process.Paths.Counts; }

void ResetPathLookupTally() { Process.Paths.Counts = PathLookupCounts{}; }

std::string NativePath(const std::string& path) { return path.size() > PathRoom ? "" : ToNative(path); }

std::string NativePathForChange(const std::string& path) {
    if (path.size() > PathRoom) return "";
    FolderMayHaveChanged(path);
    std::string native = ToNative(path);
    ForgetListingOf(native);
    return native;
}

void FolderMayHaveChanged(const std::string& path) {
    if (path.size() <= PathRoom) ForgetListingOf(ToNative(path));
}

void ForgetPathLookups() {
#ifndef _WIN32
    Listings.clear();
    Drives = DrivesRecord{};
#endif
}
