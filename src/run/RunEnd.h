// The two ways a run ends: with an exit code, or with the error document.
#pragma once

#include <string_view>

// Flushes standard output and ends the process with the exit code.
[[noreturn]] void EndProcess(int exitCode);

// Replaces the document by the error document, writes it and ends with exit code 2.
[[noreturn]] void EndWithErrorDocument(std::string_view messageText);
