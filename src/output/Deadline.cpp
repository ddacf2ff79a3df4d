#include "output/Deadline.h"

#include "output/RunContext.h"
#include "output/StandardOutput.h"
#include "platform/EventLog.h"
#include "platform/OutputLock.h"
#include "platform/Watchdog.h"

namespace {

// How long the watchdog waits for the run to finish a write it has begun.
constexpr unsigned WriteInProgressMilliseconds = 2000;

// On the watchdog's thread. It keeps the output lock to the end of the
// process, so the run, waiting for the lock at its next write or log line,
// writes nothing more and calls the library no more.
void DeadlinePassed() {
    if (!TryLockOutput(WriteInProgressMilliseconds)) EndProcessNow(2);
    int exitCode = 2;
    // A complete document stays as it is; the run was closing its connection.
    if (DocumentCompleteLocked(exitCode)) EndProcessNow(exitCode);
    const std::string text = DeadlineErrorText(RunContext.DeadlineSubject, RunContext.DeadlineSeconds);
    WriteDocumentOutLocked(CurrentWriter().Error(RunContext.Published, text));
    if (EventLogWantedLocked()) WriteLogLineLocked(0, "deadline passed", text);
    // Error 1019 is also a monitoring plugin's CRITICAL.
    EndProcessNow(ErrorExitCodeLocked(2));
}

}  // namespace

std::string DeadlineErrorText(const std::string& subject, unsigned seconds) {
    return "Error 1019: RFC-Timeout for " + subject + " after " + std::to_string(seconds) + " s !";
}

void ArmDeadline(unsigned seconds) {
    if (seconds == 0 || ProcessEndHookSet()) return;
    {
        OutputLockHeld held;
        RunContext.DeadlineSeconds = seconds;
    }
    StartWatchdog(seconds, DeadlinePassed);
}

void UpdateDeadlineNotice(const std::string& subject) {
    OutputLockHeld held;
    RunContext.DeadlineSubject = subject;
}
