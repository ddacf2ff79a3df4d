// What the harnesses share: a scratch directory of their own, the process-wide
// records set back before each input, and the sensor's ending of the process
// caught, so that one process runs the sensor's code for millions of inputs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Makes a new scratch directory (under /dev/shm where there is one, so that
// the files written for each input stay in memory), points SPACEWARDEN_DRIVES
// at its folder "drives" and removes it all when the process ends. Standard
// output goes to a file of the scratch directory, which TakeStandardOutput
// reads back and ResetSensorRecords empties. Returns the directory's path; the
// inputs work in it unless SetInputDirectory names another.
std::string MakeScratchDirectory();
void SetInputDirectory(const std::string& directory);

// The sensor works in the inputs' directory while one input runs, and libFuzzer
// where it was started, as its corpus and artifact paths may be relative.
class InputDirectory {
public:
    InputDirectory();
    ~InputDirectory();
    InputDirectory(const InputDirectory&) = delete;
    InputDirectory& operator=(const InputDirectory&) = delete;
};

// Writes the bytes into the file, creating the folders on its way; a harness
// that cannot lay out its files stops at once.
void WriteScratchFile(const std::string& path, const std::string& bytes);

// Sets every process-wide record back to how the process starts, closes the
// files the last input left open, forgets the path lookups and drops what
// standard output has taken.
void ResetSensorRecords();

// What the sensor has written to standard output since the last reset or take.
std::string TakeStandardOutput();

// The input cut at each `separator` into at most `count` pieces; the last
// piece keeps whatever follows (separators included), missing pieces are empty.
std::vector<std::string> SplitInput(const std::uint8_t* data, std::size_t size, char separator, std::size_t count);

// What the sensor ended the process with: its exit code, or -1 when the step
// returned without ending the process.
int ExitCodeOf(const std::function<void()>& step);

// Stops the fuzzer with a message when an expectation about the outcome fails.
void Expect(bool holds, const char* what);
