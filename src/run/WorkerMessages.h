// What the multi-system run hands a worker (a system to check) and what the
// worker hands back (its outcome), as bytes through the worker's standard
// streams: fields, each its length in decimal, ":" and its bytes.
#pragma once

#include <string>
#include <vector>

#include "config/SystemProfile.h"
#include "report/RunReport.h"

constexpr const char* WorkerModeArgument = "--spacewarden-worker";

struct WorkerTask {
    std::string HostFlavour;  // by name
    std::string Options;      // the run's options as given (",HOST=", ",NO=", ",SYSLOG")
    bool WholeWordOptions = false;
    bool VerboseMode = false;
    bool DocumentOpeningWritten = false;  // a streamed XML document is open on the run's standard output
    bool GoesOn = false;                  // a failed probe or another database fails the system only
    int CarriedSystemNumber = 0;          // the system number the opening before left
    std::string Exclude;                  // the run's EXCLUDE= patterns, joined by "+"
    unsigned NamesLimit = 0;              // names per kind, as NAMES= says
    LogonEntriesRecord Entries;
};

enum class WorkerOutcome {
    Measured,     // the check's values
    Failed,       // the system failed: why in Failure (logon, probe, database, check)
    ProbeFailed,  // a PRTG flavour's run-ending failed probe: its gathered text in Failure
    NotOracle,    // a PRTG flavour's run-ending database
    Ended,        // the worker ended the run as the sensor would (the library's fatal report, a set-up fault)
};

struct WorkerAnswer {
    WorkerOutcome Outcome = WorkerOutcome::Failed;
    ChannelValues Values{};
    CriticalNames Names;
    std::string Failure;
    bool ProbeHostKnown = false;  // the system information probe named the host
    std::string ProbeHost;
    std::string Console;  // what a verbose run writes meanwhile
    int ExitCode = 0;     // Ended: the run's exit code
    std::string ErrorText;  // Ended: the error document's text
};

// A worker takes task after task through one pipe and answers each through
// another: each message framed as its length in decimal, ":" and its bytes.
std::string Framed(const std::string& message);
// Takes the first whole message off the front of `received`; false when none
// is whole yet. `broken` tells bytes that are no frame at all.
bool TakeFramed(std::string& received, std::string& message, bool& broken);

std::string EncodeTask(const WorkerTask& task);
bool DecodeTask(const std::string& bytes, WorkerTask& task);
std::string EncodeAnswer(const WorkerAnswer& answer);
// False for bytes that are no whole answer (a worker that died part-way).
bool DecodeAnswer(const std::string& bytes, WorkerAnswer& answer);
