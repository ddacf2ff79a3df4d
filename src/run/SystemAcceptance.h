// The steps that accept an SAP system before anything is measured on it.
#pragma once

#include <string>

#include "rfc/RfcInterface.h"

// The CPU probe and the system information probe must succeed and the
// database must be Oracle. The caller decides what a system not accepted ends.
enum class SystemAcceptance { Accepted, ProbeFailed, NotOracle };

struct AcceptanceOutcome {
    SystemAcceptance Result = SystemAcceptance::ProbeFailed;
    std::string Failure;      // ProbeFailed: the failed call's text, without the trace-file hint
    bool HostKnown = false;   // the system information probe answered: the host it names
    std::string Host;
};
AcceptanceOutcome AcceptSystem(RFC_HANDLE handle);

// The PRTG flavours: a system that is not accepted ends the run with the error
// document (after whatever has already been written). Returns the host the
// system information probe named.
std::string EndUnlessSystemAccepted(RFC_HANDLE handle);
