#include "output/StandardOutput.h"

#include <cstdlib>

#include "platform/OutputLock.h"
#include "platform/StandardStreams.h"

namespace {

ProcessEndHook EndHook = nullptr;

// Set once standard output cannot take what is written: it was closed when the
// process started, or a write failed. Nothing more is written then, nothing is
// tried again, and the process ends with exit code 2.
bool OutputLost = false;

// Set once the run's document is complete, with the exit code it ends with.
bool Complete = false;
int CompleteExitCode = 0;

}  // namespace

void StartStandardOutput() {
    if (SecureStandardStreams()) OutputLost = true;
}

void WriteOutLocked(const std::string& text) {
    if (OutputLost || text.empty()) return;
    if (!WriteStandardOutput(text.data(), text.size())) OutputLost = true;
}

void WriteOut(const std::string& text) {
    OutputLockHeld held;
    WriteOutLocked(text);
}

void WriteOutLine(const std::string& text) { WriteOut(text + "\n"); }

bool StandardOutputLost() {
    OutputLockHeld held;
    return OutputLost;
}

void DocumentComplete(int exitCode) {
    OutputLockHeld held;
    Complete = true;
    CompleteExitCode = exitCode;
}

bool DocumentCompleteLocked(int& exitCode) {
    exitCode = OutputLost ? 2 : CompleteExitCode;
    return Complete;
}

void SetProcessEndHook(ProcessEndHook hook) { EndHook = hook; }

bool ProcessEndHookSet() { return EndHook != nullptr; }

void EndProcess(int exitCode) {
    LockOutput();
    // A harness keeps standard output for its next run.
    if (!EndHook && !OutputLost && !FinishStandardOutput()) OutputLost = true;
    // The monitoring host must not take an answer it never got for success,
    // nor for the fatal report.
    if (OutputLost) exitCode = 2;
    // A deadline passing from here on ends the process the same way.
    Complete = true;
    CompleteExitCode = exitCode;
    UnlockOutput();
    if (EndHook) EndHook(exitCode);
    std::exit(exitCode);
}
