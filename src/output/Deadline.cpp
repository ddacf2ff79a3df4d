#include "output/Deadline.h"

#include "output/RunContext.h"
#include "output/StandardOutput.h"
#include "platform/EventLog.h"
#include "platform/OutputLock.h"
#include "platform/Time.h"
#include "platform/Watchdog.h"

namespace {

// How long the watchdog waits for the run to finish a write it has begun.
constexpr unsigned WriteInProgressMilliseconds = 2000;

// On the watchdog's thread. It keeps the output lock to the end of the
// process, so the run, waiting for the lock at its next write or log line,
// writes nothing more and calls the library no more.
[[noreturn]] void DeadlinePassed() {
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

// On the watchdog's thread, when a listing's one system checked in the run's
// own process has not answered within its share: that system fails alone and
// the run ends with its document, as one checked in a worker would.
void ShareOver() {
    if (!TryLockOutput(WriteInProgressMilliseconds)) EndProcessNow(2);
    ShareEndingRecord& ending = RunContext.ShareEnding;
    if (!ending.Armed) {
        // The system answered as the share ended: the deadline is the run's again.
        const unsigned long long deadline = RunContext.DeadlineSeconds * 1000ULL;
        UnlockOutput();
        while (MillisecondsSinceProcessStart() < deadline) PauseMilliseconds(deadline - MillisecondsSinceProcessStart());
        DeadlinePassed();
    }
    RunReport report = RunContext.Published;
    const bool verbose = RunContext.Settings->VerboseMode;
    for (const ListedSystemEnding& system : ending.Rest) {
        ++report.NoSystems;
        if (system.CountsFailed) ++report.Failed;
        report.Systems.push_back(system.Result);
        WriteDocumentOutLocked(CurrentWriter().SystemDone(report));
        if (verbose) WriteOutLocked(system.StateLine);
    }
    WriteDocumentOutLocked(CurrentWriter().Closing(report));
    if (verbose) WriteOutLocked("\n* " + TimeOfDay() + " SAP " + ProgramName + " now processed...\n");
    if (EventLogWantedLocked())
        WriteLogLineLocked(0, "share passed", ending.Rest.empty() ? "" : ending.Rest.front().Result.Failure);
    EndProcessNow(ErrorExitCodeLocked(CurrentWriter().ExitCode(0)));
}

}  // namespace

void ArmShareEnding(unsigned long long shareMilliseconds, std::vector<ListedSystemEnding> rest) {
    if (shareMilliseconds == 0) return;
    {
        OutputLockHeld held;
        RunContext.ShareEnding.Armed = true;
        RunContext.ShareEnding.Rest = std::move(rest);
    }
    MoveWatchdog(shareMilliseconds, ShareOver);
}

void DisarmShareEnding() {
    {
        OutputLockHeld held;
        if (!RunContext.ShareEnding.Armed) return;
        RunContext.ShareEnding = ShareEndingRecord{};
    }
    MoveWatchdog(RunContext.DeadlineSeconds * 1000ULL, DeadlinePassed);
}

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
