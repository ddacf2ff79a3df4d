// Files as the sensor reads and writes them: regular files only, text read the
// way the Windows C runtime reads it, named by paths in the Windows form.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "platform/NativeFiles.h"
#include "platform/WindowsPaths.h"

// A regular file opened for reading as bytes, read through a buffer of its
// own. A directory, FIFO, socket or device counts as a file that cannot be
// opened (on Windows also the reserved device names), so nothing ever waits on
// one or reads one for ever. A read error is not the end of the file: reading
// stops there and the error is kept.
class ReadableFile {
public:
    ReadableFile() = default;
    ~ReadableFile();
    ReadableFile(const ReadableFile&) = delete;
    ReadableFile& operator=(const ReadableFile&) = delete;
    ReadableFile(ReadableFile&& other) noexcept;
    ReadableFile& operator=(ReadableFile&& other) noexcept;

    bool Open(const std::string& path);
    bool IsOpen() const { return handle_ != NoNativeHandle; }
    // Closes the file; a read error stays known until the next Open.
    void Close();

    // The next byte (0 to 255), or EOF at the end of the file or after a read error.
    int Take() {
        if (position_ < buffer_.size()) return static_cast<unsigned char>(buffer_[position_++]);
        return Refill() ? static_cast<unsigned char>(buffer_[position_++]) : EOF;
    }
    int Peek() {
        if (position_ < buffer_.size()) return static_cast<unsigned char>(buffer_[position_]);
        return Refill() ? static_cast<unsigned char>(buffer_[position_]) : EOF;
    }
    // True when a read failed since the file was opened.
    bool ReadFailed() const { return failed_; }
    // After an Open that failed: why a file that is there could not be opened
    // ("is a directory", "cannot be read: Permission denied"); empty when
    // nothing is there.
    const std::string& WhyNotOpened() const { return whyNot_; }

private:
    bool Refill();

    NativeHandle handle_ = NoNativeHandle;
    std::string whyNot_;
    std::string buffer_;
    std::size_t position_ = 0;
    bool atEnd_ = false;
    bool failed_ = false;
};

// A file opened for reading as text. A carriage return directly followed by a
// line feed reaches the reader as a line feed alone, and a Ctrl-Z ends the text,
// as in the text mode of the Windows C runtime, on every platform.
class TextFile {
public:
    bool Open(const std::string& path);
    bool IsOpen() const { return file_.IsOpen(); }
    void Close() { file_.Close(); }

    // Reads like fgets with a buffer of bufferSize bytes: at most bufferSize - 1
    // characters, up to and including a line feed. A longer line arrives in
    // pieces. Returns false when nothing could be read: at the end of the file,
    // or at a read error, which drops the piece begun.
    bool ReadLine(std::string& piece, std::size_t bufferSize);

    // True when reading stopped at a read error: the file then counts as one
    // that could not be opened. Known until the next Open, also after Close.
    bool ReadFailed() const { return file_.ReadFailed(); }
    // After an Open that failed: why a file that is there could not be opened.
    const std::string& WhyNotOpened() const { return file_.WhyNotOpened(); }

private:
    int NextChar();

    ReadableFile file_;
    bool ended_ = false;
};

// Removes a trailing carriage return, then a trailing line feed.
void StripLineEnd(std::string& line);

// True when the file opens for reading as text (it is closed again at once).
bool FileCanBeOpened(const std::string& path);

// Copies a file byte for byte into a new or overwritten file. Any read or
// write error counts as a failure; the target may then be incomplete. A target
// that exists and is no regular file is not created.
enum class CopyOutcome { Copied, SourceMissing, TargetNotCreated, Failed };
CopyOutcome CopyFileBytes(const std::string& from, const std::string& to);

// Deletes a file; a missing file is no error.
void DeleteFileIfPresent(const std::string& path);

// Creates an empty file (opened for writing and closed). False when it cannot,
// also when something that is no regular file has its name.
bool CreateEmptyFile(const std::string& path);

// Opens a file for appending text lines; null when it cannot, also when it is
// no regular file.
std::FILE* OpenForAppend(const std::string& path);
