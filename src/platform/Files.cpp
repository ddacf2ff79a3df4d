#include "platform/Files.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

#ifndef _WIN32
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace {

constexpr int CtrlZ = 0x1A;

#ifdef _WIN32
std::string ToNative(const std::string& path) { return path; }
#else
bool HasDriveLetter(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string DrivesRoot() {
    const char* root = std::getenv("SPACEWARDEN_DRIVES");
    std::string drives = root ? root : "";
    while (!drives.empty() && drives.back() == '/') drives.pop_back();
    return drives;
}

// The drive that holds the working directory: the letter of the folder below
// the drives root in which it lies, or c when it lies outside them.
char CurrentDrive(const std::string& drives) {
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

bool SameIgnoringCase(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x | 0x20);
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y | 0x20);
        if (x != y) return false;
    }
    return i == a.size() && b[i] == '\0';
}

// Windows finds a file whatever the letter case of its name: a component that
// does not exist as written is replaced by an entry of its folder whose name
// differs in the case of a to z only.
std::string MatchLetterCase(const std::string& path) {
    std::string result = !path.empty() && path[0] == '/' ? "/" : "";
    std::size_t position = result.size();
    bool found = true;
    while (position < path.size()) {
        std::size_t end = path.find('/', position);
        if (end == std::string::npos) end = path.size();
        std::string component = path.substr(position, end - position);
        position = end + 1;
        std::string folder = result.empty() ? "." : result;
        if (!result.empty() && result.back() != '/') result += '/';
        struct stat info;
        if (found && !component.empty() && component != "." && component != ".." &&
            lstat((result + component).c_str(), &info) != 0) {
            found = false;
            if (DIR* directory = opendir(folder.c_str())) {
                while (const dirent* entry = readdir(directory)) {
                    if (SameIgnoringCase(component, entry->d_name)) {
                        component = entry->d_name;
                        found = true;
                        break;
                    }
                }
                closedir(directory);
            }
        }
        result += component;
        if (end == path.size()) break;
    }
    return result;
}

std::string ToNative(const std::string& path) {
    std::string rest = path;
    std::string prefix;
    if (HasDriveLetter(path) || (!path.empty() && path[0] == '\\')) {
        std::string drives = DrivesRoot();
        char current = CurrentDrive(drives);
        char drive = current;
        if (HasDriveLetter(path)) {
            drive = static_cast<char>(path[0] | 0x20);
            rest = path.substr(2);
        }
        if (drive == current && (rest.empty() || !IsSeparator(rest[0]))) {
            // "X:a" on the current drive: relative to the working directory.
            if (rest.empty()) rest.assign(1, '.');
        } else {
            // Another drive's "X:a" starts at its root, as no directory is current there.
            prefix = drives;
            prefix += '/';
            prefix += drive;
            if (!rest.empty() && !IsSeparator(rest[0])) prefix += '/';
        }
    }
    for (char& c : rest)
        if (c == '\\') c = '/';
    return MatchLetterCase(prefix + rest);
}
#endif

}  // namespace

std::string NativePath(const std::string& path) { return ToNative(path); }

namespace {

// Opens a file for reading as bytes. A directory is no file, although some
// platforms let fopen open one.
std::FILE* OpenForReading(const std::string& path) {
    std::string native = NativePath(path);
    std::error_code error;
    if (std::filesystem::is_directory(native, error)) return nullptr;
    return std::fopen(native.c_str(), "rb");
}

}  // namespace

TextFile::~TextFile() { Close(); }

TextFile::TextFile(TextFile&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)), ended_(other.ended_) {}

TextFile& TextFile::operator=(TextFile&& other) noexcept {
    if (this != &other) {
        Close();
        file_ = std::exchange(other.file_, nullptr);
        ended_ = other.ended_;
    }
    return *this;
}

bool TextFile::Open(const std::string& path) {
    Close();
    // Read as bytes and translate here, so that every platform sees the same text.
    file_ = OpenForReading(path);
    ended_ = false;
    return file_ != nullptr;
}

void TextFile::Close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

int TextFile::NextChar() {
    if (!file_ || ended_) return EOF;
    int c = std::fgetc(file_);
    if (c == EOF || c == CtrlZ) {
        ended_ = true;
        return EOF;
    }
    if (c == '\r') {
        int next = std::fgetc(file_);
        if (next == '\n') return '\n';
        if (next != EOF) std::ungetc(next, file_);
    }
    return c;
}

bool TextFile::ReadLine(std::string& piece, std::size_t bufferSize) {
    piece.clear();
    if (bufferSize < 2) return false;
    while (piece.size() < bufferSize - 1) {
        int c = NextChar();
        if (c == EOF) break;
        piece.push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    return !piece.empty();
}

void StripLineEnd(std::string& line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.back() == '\n') line.pop_back();
}

bool FileCanBeOpened(const std::string& path) {
    TextFile file;
    return file.Open(path);
}

CopyOutcome CopyFileBytes(const std::string& from, const std::string& to) {
    std::FILE* source = OpenForReading(from);
    if (!source) return CopyOutcome::SourceMissing;
    std::FILE* target = std::fopen(NativePath(to).c_str(), "wb");
    if (!target) {
        std::fclose(source);
        return CopyOutcome::TargetNotCreated;
    }
    bool good = true;
    char buffer[4096];
    for (;;) {
        std::size_t got = std::fread(buffer, 1, sizeof buffer, source);
        if (got > 0 && std::fwrite(buffer, 1, got, target) != got) {
            good = false;
            break;
        }
        if (got < sizeof buffer) {
            if (std::ferror(source)) good = false;
            break;
        }
    }
    std::fclose(source);
    if (std::fclose(target) != 0) good = false;
    return good ? CopyOutcome::Copied : CopyOutcome::Failed;
}

void DeleteFileIfPresent(const std::string& path) { std::remove(NativePath(path).c_str()); }

bool CreateEmptyFile(const std::string& path) {
    if (path.empty()) return false;
    std::FILE* file = std::fopen(NativePath(path).c_str(), "w");
    if (!file) return false;
    std::fclose(file);
    return true;
}

std::FILE* OpenForAppend(const std::string& path) { return std::fopen(NativePath(path).c_str(), "a"); }
