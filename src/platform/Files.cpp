#include "platform/Files.h"

#include <cstdio>
#include <utility>

namespace {

constexpr int CtrlZ = 0x1A;

}  // namespace

ReadableFile::~ReadableFile() { Close(); }

ReadableFile::ReadableFile(ReadableFile&& other) noexcept
    : handle_(std::exchange(other.handle_, NoNativeHandle)),
      buffer_(std::move(other.buffer_)),
      position_(other.position_),
      atEnd_(other.atEnd_),
      failed_(other.failed_) {}

ReadableFile& ReadableFile::operator=(ReadableFile&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = std::exchange(other.handle_, NoNativeHandle);
        buffer_ = std::move(other.buffer_);
        position_ = other.position_;
        atEnd_ = other.atEnd_;
        failed_ = other.failed_;
    }
    return *this;
}

bool ReadableFile::Open(const std::string& path) {
    Close();
    buffer_.clear();
    position_ = 0;
    atEnd_ = false;
    failed_ = false;
    handle_ = OpenRegularFile(NativePath(path), FileAccess::Read, &whyNot_);
    return IsOpen();
}

void ReadableFile::Close() {
    CloseNative(handle_);
    handle_ = NoNativeHandle;
}

bool ReadableFile::Refill() {
    if (position_ < buffer_.size()) return true;
    if (!IsOpen() || atEnd_ || failed_) return false;
    constexpr std::size_t ReadRoom = 4096;
    buffer_.resize(ReadRoom);
    position_ = 0;
    long got = ReadNative(handle_, buffer_.data(), ReadRoom);
    buffer_.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    if (got < 0) failed_ = true;
    if (got == 0) atEnd_ = true;
    return got > 0;
}

bool TextFile::Open(const std::string& path) {
    // Read as bytes and translate here, so that every platform sees the same text.
    ended_ = false;
    return file_.Open(path);
}

int TextFile::NextChar() {
    if (ended_) return EOF;
    int c = file_.Take();
    if (c == EOF || c == CtrlZ) {
        ended_ = true;
        return EOF;
    }
    if (c == '\r' && file_.Peek() == '\n') return file_.Take();
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
    // A line cut short by a read error is no line.
    if (ReadFailed()) piece.clear();
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
    ReadableFile source;
    if (!source.Open(from)) return CopyOutcome::SourceMissing;
    NativeHandle target = OpenRegularFile(NativePathForChange(to), FileAccess::Truncate);
    if (target == NoNativeHandle) return CopyOutcome::TargetNotCreated;
    bool good = true;
    std::string chunk;
    for (int c = source.Take(); c != EOF && good; c = source.Take()) {
        chunk.push_back(static_cast<char>(c));
        if (chunk.size() == 4096) {
            good = WriteNative(target, chunk.data(), chunk.size());
            chunk.clear();
        }
    }
    if (good) good = WriteNative(target, chunk.data(), chunk.size()) && !source.ReadFailed();
    if (!CloseNative(target)) good = false;
    return good ? CopyOutcome::Copied : CopyOutcome::Failed;
}

void DeleteFileIfPresent(const std::string& path) { std::remove(NativePathForChange(path).c_str()); }

bool CreateEmptyFile(const std::string& path) {
    if (path.empty()) return false;
    NativeHandle file = OpenRegularFile(NativePathForChange(path), FileAccess::Truncate);
    if (file == NoNativeHandle) return false;
    CloseNative(file);
    return true;
}

std::FILE* OpenForAppend(const std::string& path) {
    NativeHandle file = OpenRegularFile(NativePathForChange(path), FileAccess::Append);
    return file == NoNativeHandle ? nullptr : AppendStreamOf(file);
}
