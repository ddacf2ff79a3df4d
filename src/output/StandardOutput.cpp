#include "output/StandardOutput.h"

#include <cstdio>
#include <cstdlib>

#include "config/RunSettings.h"

#include "output/PluginStatus.h"
#include "output/ReportOutput.h"
#include "platform/OutputLock.h"
#include "platform/StandardStreams.h"
#include "platform/Watchdog.h"
#include "platform/WholeFileReplacement.h"

namespace {

ProcessEndHook EndHook = nullptr;

// Set once standard output cannot take what is written: it was closed when the
// process started, or a write failed. Nothing more is written then, nothing is
// tried again, and the process ends with exit code 2.
bool OutputLost = false;

// Console lines held back until the document is written (HoldConsoleLines).
bool Holding = false;
std::string Held;

// A worker's output, kept for its answer (CaptureStandardOutput).
bool Capturing = false;
std::string Captured;

void WriteNow(const std::string& text) {
    if (Capturing) {
        Captured += text;
        return;
    }
    if (OutputLost || text.empty()) return;
    if (!WriteStandardOutput(text.data(), text.size())) OutputLost = true;
}

// Set once the run's document is complete, with the exit code it ends with.
bool Complete = false;
int CompleteExitCode = 0;

// The exit code the host reads for the sensor's own (0 success, 1 the fatal
// report, 2 an error document): a monitoring plugin's is its status line's
// state, and 3 (UNKNOWN) when standard output took nothing; PRTG's is 2 then.
int HostExitCode(int sensorExitCode) {
    if (OutputLost) return LostOutputExitCode();
    if (WritesWholeReport()) return ReportDocumentExitCode();
    return IsPluginFlavour() ? PluginExitCode() : sensorExitCode;
}

}  // namespace

void StartStandardOutput() {
    if (SecureStandardStreams()) OutputLost = true;
}

void WriteOutLocked(const std::string& text) {
    if (Holding) {
        Held += text;
        return;
    }
    WriteNow(text);
}

void HoldConsoleLines() {
    OutputLockHeld held;
    Holding = true;
}

// The held lines are a monitoring plugin's long text, where a "|" would start
// performance data: it is written as "/", as in the status line, and a control
// character other than the line end as a blank.
void ReleaseHeldLocked() {
    Holding = false;
    for (char& c : Held) {
        if (c == '|') c = '/';
        if (c >= '\0' && c < ' ' && c != '\n') c = ' ';
    }
    WriteNow(Held);
    Held.clear();
}

// The document of --textfile replaces that file; one that cannot be written is
// a document lost, said on standard error (a job's log keeps it).
void WriteTextfile(const std::string& text) {
    const std::string whyNot = ReplaceWholeFile(RunSettings.TextfilePath, text);
    if (whyNot.empty()) return;
    NoteReportDocumentLost();
    const std::string message = std::string(ProgramName) + ": " + RunSettings.TextfilePath + " " + whyNot + "\n";
    std::fputs(message.c_str(), stderr);
}

// An empty document (a streamed run's opening in the plugin's flavour) is no status line yet.
void WriteDocumentOutLocked(const std::string& text) {
    if (!RunSettings.TextfilePath.empty() && !text.empty()) {
        WriteTextfile(text);
        return;
    }
    WriteNow(text);
    if (!text.empty()) ReleaseHeldLocked();
}

void WriteDocumentOut(const std::string& text) {
    OutputLockHeld held;
    WriteDocumentOutLocked(text);
}

void WriteOut(const std::string& text) {
    OutputLockHeld held;
    WriteOutLocked(text);
}

void WriteOutLine(const std::string& text) { WriteOut(text + "\n"); }

void CaptureStandardOutput() {
    OutputLockHeld held;
    Capturing = true;
}

std::string TakeCapturedOutput() {
    OutputLockHeld held;
    std::string taken;
    taken.swap(Captured);
    return taken;
}

bool StandardOutputLost() {
    OutputLockHeld held;
    return OutputLost;
}

void DocumentComplete(int exitCode) {
    OutputLockHeld held;
    Complete = true;
    CompleteExitCode = HostExitCode(exitCode);
}

bool DocumentCompleteLocked(int& exitCode) {
    exitCode = OutputLost ? LostOutputExitCode() : CompleteExitCode;
    return Complete;
}

int LostOutputExitCode() { return IsPluginFlavour() ? static_cast<int>(PluginState::Unknown) : 2; }

int ErrorExitCodeLocked(int stateExitCode) { return OutputLost ? LostOutputExitCode() : stateExitCode; }

void SetProcessEndHook(ProcessEndHook hook) { EndHook = hook; }

bool ProcessEndHookSet() { return EndHook != nullptr; }

void EndProcess(int exitCode) {
    LockOutput();
    // Lines held for a document that was never written are not lost.
    if (Holding) ReleaseHeldLocked();
    // A harness keeps standard output for its next run.
    if (!EndHook && !OutputLost && !FinishStandardOutput()) OutputLost = true;
    // The monitoring host must not take an answer it never got for success,
    // nor for the fatal report.
    exitCode = HostExitCode(exitCode);
    // A deadline passing from here on ends the process the same way.
    Complete = true;
    CompleteExitCode = exitCode;
    UnlockOutput();
    if (EndHook) EndHook(exitCode);
    StopWatchdog();
    std::exit(exitCode);
}
