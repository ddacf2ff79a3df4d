// The run as its endings see it: the library's error handler and the
// deadline's watchdog take no argument, yet must write the run's error
// document with what was measured and end the process with the host's exit
// code. What they need is here, and only that; the run hands everything else
// on as values.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "config/RunSettings.h"
#include "output/ReportWriter.h"
#include "report/RunReport.h"

// A harness that runs the sensor inside its own process (the fuzzers) ends a
// run its own way: the hook is called in place of exit, with the exit code,
// and leaves by an exception of its own.
using ProcessEndHook = void (*)(int exitCode);

// A listed system as the run would finish it: its result, whether it counts
// as failed (a profile that could not be read counts among the systems only),
// and the console line a verbose run writes for it.
struct ListedSystemEnding {
    SystemResult Result;
    bool CountsFailed = false;
    std::string StateLine;
};

// A listing whose one system to check is checked in the run's own process:
// when its share of the deadline is over before it answers, the system fails
// alone (Error 1019) and the run ends as it would have ended with it failed.
struct ShareEndingRecord {
    bool Armed = false;
    // The system being checked, failed, and every system after it.
    std::vector<ListedSystemEnding> Rest;
};

struct RunContextRecord {
    // The run's settings, as start-up has read them so far; set once, first thing.
    const RunSettingsRecord* Settings = nullptr;
    // The writer of the settings' host format, made when first asked for.
    std::unique_ptr<ReportWriter> Writer;
    HostFormat WriterFormat{};
    // What the run has measured so far: what an error that ends it writes.
    RunReport Published;
    // What Error 1019 names when the deadline passes: the system being checked.
    std::string DeadlineSubject;
    unsigned DeadlineSeconds = 0;
    // Once the document is on standard output as a whole, a deadline that
    // passes leaves it as it is and ends the process with this code.
    bool Complete = false;
    int CompleteExitCode = 0;
    // The text of the error document written last (a worker's answer names it).
    std::string LastErrorText;
    // Standard output: lost once it could not take what was written (nothing
    // more is written then); a monitoring plugin's console lines held until its
    // status line; a worker's output kept for its answer.
    bool OutputLost = false;
    bool Holding = false;
    std::string Held;
    bool Capturing = false;
    std::string Captured;
    ProcessEndHook EndHook = nullptr;
    ShareEndingRecord ShareEnding;
};

// Reached by the run's one ending path, the fatal report and the watchdog;
// written by the run under the output lock where the watchdog reads it.
extern RunContextRecord RunContext;

// The writer of the run's host format (the settings' HostFlavour): made anew
// when start-up has changed the format, which happens before anything is written.
ReportWriter& CurrentWriter();

// Keeps a copy of the report as it stands: what an error ending the run from
// here on writes besides the error (the systems already done stay).
void PublishReport(const RunReport& report);
// The same for a caller that holds the output lock.
void PublishLocked(const RunReport& report);

// For a process that runs the sensor more than once (tests, fuzzing harnesses):
// everything as at the start of a process, the end hook kept.
void ForgetRun();
