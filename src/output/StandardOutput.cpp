#include "output/StandardOutput.h"

#include <cstdio>
#include <cstdlib>

#include "config/RunSettings.h"
#include "output/RunContext.h"
#include "platform/OutputLock.h"
#include "platform/StandardStreams.h"
#include "platform/Watchdog.h"
#include "platform/WholeFileReplacement.h"

namespace {

RunContextRecord& Run = RunContext;

void WriteNow(const std::string& text) {
    if (Run.Capturing) {
        Run.Captured += text;
        return;
    }
    if (Run.OutputLost || text.empty()) return;
    if (!WriteStandardOutput(text.data(), text.size())) Run.OutputLost = true;
}

// The exit code the host reads for the sensor's own (0 success, 1 the fatal
// report, 2 an error document), as its writer says: a monitoring plugin's is
// its status line's state, and 3 (UNKNOWN) when standard output took nothing;
// PRTG's is 2 then.
int HostExitCode(int sensorExitCode) {
    if (!Run.Settings) return Run.OutputLost ? 2 : sensorExitCode;
    if (Run.OutputLost) return CurrentWriter().LostOutputExitCode();
    return CurrentWriter().ExitCode(sensorExitCode);
}

}  // namespace

void StartStandardOutput() {
    if (SecureStandardStreams()) Run.OutputLost = true;
}

void WriteOutLocked(const std::string& text) {
    if (Run.Holding) {
        Run.Held += text;
        return;
    }
    WriteNow(text);
}

void HoldConsoleLines() {
    OutputLockHeld held;
    Run.Holding = true;
}

// The held lines are a monitoring plugin's long text, where a "|" would start
// performance data: it is written as "/", as in the status line, and a control
// character other than the line end as a blank.
void ReleaseHeldLocked() {
    Run.Holding = false;
    for (char& c : Run.Held) {
        if (c == '|') c = '/';
        if (c >= '\0' && c < ' ' && c != '\n') c = ' ';
    }
    WriteNow(Run.Held);
    Run.Held.clear();
}

// The document of --textfile replaces that file; one that cannot be written is
// a document lost, said on standard error (a job's log keeps it).
void WriteTextfile(const std::string& path, const std::string& text) {
    const std::string whyNot = ReplaceWholeFile(path, text);
    if (whyNot.empty()) return;
    CurrentWriter().NoteDocumentLost();
    const std::string message = std::string(ProgramName) + ": " + path + " " + whyNot + "\n";
    std::fputs(message.c_str(), stderr);
}

// An empty document (a streamed run's opening in the plugin's flavour) is no status line yet.
void WriteDocumentOutLocked(const std::string& text) {
    if (Run.Settings && !Run.Settings->TextfilePath.empty() && !text.empty()) {
        WriteTextfile(Run.Settings->TextfilePath, text);
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
    Run.Capturing = true;
}

std::string TakeCapturedOutput() {
    OutputLockHeld held;
    std::string taken;
    taken.swap(Run.Captured);
    return taken;
}

bool StandardOutputLost() {
    OutputLockHeld held;
    return Run.OutputLost;
}

void DocumentComplete(int exitCode) {
    OutputLockHeld held;
    Run.Complete = true;
    Run.CompleteExitCode = HostExitCode(exitCode);
}

bool DocumentCompleteLocked(int& exitCode) {
    exitCode = Run.OutputLost ? LostOutputExitCode() : Run.CompleteExitCode;
    return Run.Complete;
}

int LostOutputExitCode() { return Run.Settings ? CurrentWriter().LostOutputExitCode() : 2; }

int ErrorExitCodeLocked(int stateExitCode) { return Run.OutputLost ? LostOutputExitCode() : stateExitCode; }

void SetProcessEndHook(ProcessEndHook hook) { Run.EndHook = hook; }

bool ProcessEndHookSet() { return Run.EndHook != nullptr; }

void EndProcess(int exitCode) {
    LockOutput();
    // Lines held for a document that was never written are not lost.
    if (Run.Holding) ReleaseHeldLocked();
    // A harness keeps standard output for its next run.
    if (!Run.EndHook && !Run.OutputLost && !FinishStandardOutput()) Run.OutputLost = true;
    // The monitoring host must not take an answer it never got for success,
    // nor for the fatal report.
    exitCode = HostExitCode(exitCode);
    // A deadline passing from here on ends the process the same way.
    Run.Complete = true;
    Run.CompleteExitCode = exitCode;
    UnlockOutput();
    if (Run.EndHook) Run.EndHook(exitCode);
    StopWatchdog();
    std::exit(exitCode);
}
