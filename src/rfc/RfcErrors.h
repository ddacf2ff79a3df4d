// RFC failures in words: the outcome of a failed call, the trace-file hint and
// the library's fatal report, which the run turns into its ending.
#pragma once

#include <string>

#include "rfc/RfcInterface.h"

constexpr const char* RfcTraceFile = "Dev_Rfc.Trc";

// What the library's fatal report names: the operation and the four texts of
// RfcLastError, each cut to its field.
struct RfcFatalReport {
    std::string Operation;  // "RfcCall GET_CPU_ALL", "ItCreate TF_CPU_ALL"
    std::string Key, Status, Message, InternalStatus;
};

// Where the fatal report goes: the run's ending, which writes it as the host
// reads it and ends the process with exit code 1. It never returns.
using RfcFatalEnd = void (*)(const RfcFatalReport&);

// The library's error handler: the fatal report of the operation the library names.
extern "C" void RFC_LIBRARY_CALL ReportRfcFailureHandler(char* operation);
// The fatal report of a library housekeeping failure (an internal table that
// cannot be created, filled or deleted; a structure that cannot be installed).
[[noreturn]] void ReportRfcFailure(const std::string& operation);

// Installs the library environment with the fatal report as error handler,
// ending the process through `end`.
void InstallRfcEnvironment(RfcFatalEnd end);

// The hint the RFC trace file gives after a failed call: " - " and the last
// error line's text, " - Please Check Trace-File !" when it names none, " -
// Look for Trace-File" when it cannot be read.
std::string TraceHint();

// After a failed opening: "Error 1016: " and the library's own message when
// the library in the place of librfc32 says it cannot use a library of its own
// (RFC_KEY_LIBRARY_UNUSABLE: the NetWeaver adapter without SAP's library), a
// fault of the set-up rather than of the SAP system; otherwise empty. Asks
// RfcLastError, a call the PRTG flavours' run does not make here, so only the
// hosts that tell the two apart ask.
std::string LibrarySetUpFault();
