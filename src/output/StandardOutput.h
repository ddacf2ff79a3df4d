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
