#include "FuzzSupport.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <fstream>

#include "output/RunContext.h"
#include "output/StandardOutput.h"
#include "platform/EventLog.h"
#include "platform/Files.h"

namespace {

std::string ScratchDirectory;
std::string StandardOutputFile;
std::string InputsDirectory;
int StartDirectory = -1;  // where libFuzzer was started, open for fchdir

struct SensorEnded {
    int ExitCode;
};

[[noreturn]] void ThrowSensorEnded(int exitCode) { throw SensorEnded{exitCode}; }

void RemoveScratchDirectory() {
    if (ScratchDirectory.empty()) return;
    std::error_code ignored;
    std::filesystem::current_path("/", ignored);
    std::filesystem::remove_all(ScratchDirectory, ignored);
}

}  // namespace

std::string MakeScratchDirectory() {
    if (!ScratchDirectory.empty()) return ScratchDirectory;
    const char* base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/spacewarden-fuzz.XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("spacewarden fuzz: no scratch directory");
        std::abort();
    }
    ScratchDirectory = pattern;
    std::atexit(RemoveScratchDirectory);
    std::filesystem::create_directories(ScratchDirectory + "/drives/c");
    InputsDirectory = ScratchDirectory;
    StartDirectory = open(".", O_RDONLY | O_DIRECTORY);
    setenv("SPACEWARDEN_DRIVES", (ScratchDirectory + "/drives").c_str(), 1);

    // Appending, so that each write lands at the end that the last take left.
    StandardOutputFile = ScratchDirectory + "/stdout";
    int output = open(StandardOutputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0600);
    if (output < 0 || dup2(output, STDOUT_FILENO) < 0) {
        std::perror("spacewarden fuzz: no file for standard output");
        std::abort();
    }
    close(output);
    SetProcessEndHook(ThrowSensorEnded);
    return ScratchDirectory;
}

void SetInputDirectory(const std::string& directory) { InputsDirectory = directory; }

InputDirectory::InputDirectory() {
    if (chdir(InputsDirectory.c_str()) != 0) {
        std::perror("spacewarden fuzz: cannot enter the inputs' directory");
        std::abort();
    }
}

InputDirectory::~InputDirectory() {
    if (StartDirectory < 0 || fchdir(StartDirectory) != 0) std::abort();
}

void WriteScratchFile(const std::string& path, const std::string& bytes) {
    std::filesystem::path file(path);
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "spacewarden fuzz: cannot write %s\n", path.c_str());
        std::abort();
    }
}

void ResetSensorRecords() {
    ForgetRun();
    CloseEventLog();
    ForgetPathLookups();
    TakeStandardOutput();
}

std::string TakeStandardOutput() {
    if (StandardOutputFile.empty()) return "";
    std::ifstream in(StandardOutputFile, std::ios::binary);
    std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (ftruncate(STDOUT_FILENO, 0) != 0) std::abort();
    return written;
}

std::vector<std::string> SplitInput(const std::uint8_t* data, std::size_t size, char separator, std::size_t count) {
    std::vector<std::string> pieces(count);
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    for (std::size_t piece = 0; piece < count && start <= input.size(); ++piece) {
        std::size_t end = piece + 1 == count ? std::string::npos : input.find(separator, start);
        if (end == std::string::npos) {
            pieces[piece] = input.substr(start);
            break;
        }
        pieces[piece] = input.substr(start, end - start);
        start = end + 1;
    }
    return pieces;
}

int ExitCodeOf(const std::function<void()>& step) {
    try {
        step();
    } catch (const SensorEnded& ended) {
        return ended.ExitCode;
    }
    return -1;
}

void Expect(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "spacewarden fuzz: expectation failed: %s\n", what);
    std::abort();
}
