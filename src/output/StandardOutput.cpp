#include "output/StandardOutput.h"

#include <cstdlib>

#include "platform/StandardStreams.h"

namespace {

ProcessEndHook EndHook = nullptr;

// Set once standard output cannot take what is written: it was closed when the
// process started, or a write failed. Nothing more is written then, nothing is
// tried again, and the process ends with exit code 2.
bool OutputLost = false;

}  // namespace

void StartStandardOutput() {
    if (SecureStandardStreams()) OutputLost = true;
}

void WriteOut(const std::string& text) {
    if (OutputLost || text.empty()) return;
    if (!WriteStandardOutput(text.data(), text.size())) OutputLost = true;
}

void WriteOutLine(const std::string& text) { WriteOut(text + "\n"); }

bool StandardOutputLost() { return OutputLost; }

void SetProcessEndHook(ProcessEndHook hook) { EndHook = hook; }

void EndProcess(int exitCode) {
    // A harness keeps standard output for its next run.
    if (!EndHook && !OutputLost && !FinishStandardOutput()) OutputLost = true;
    // The monitoring host must not take an answer it never got for success,
    // nor for the fatal report.
    if (OutputLost) exitCode = 2;
    if (EndHook) EndHook(exitCode);
    std::exit(exitCode);
}
