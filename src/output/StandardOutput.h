// Standard output, where everything the sensor writes goes, and the end of
// the process.
#pragma once

#include <string>

// Writes the text unchanged.
void WriteOut(const std::string& text);
// Writes the text and a newline.
void WriteOutLine(const std::string& text);

// Flushes standard output and ends the process with the exit code.
[[noreturn]] void EndProcess(int exitCode);

// A harness that runs the sensor inside its own process (the fuzzers) ends a
// run its own way: the hook is called in place of exit, with the exit code,
// and leaves by an exception of its own. Without a hook the process ends.
using ProcessEndHook = void (*)(int exitCode);
void SetProcessEndHook(ProcessEndHook hook);
