// RFC failures in words: the fatal report, outcome texts and the trace-file hint.
#pragma once

#include <string>

#include "rfc/RfcInterface.h"

constexpr const char* RfcTraceFile = "Dev_Rfc.Trc";

// The library's error handler: prints the library's error details, closes
// every connection and ends the process with exit code 1.
extern "C" void RFC_LIBRARY_CALL ReportRfcFailureHandler(char* operation);
[[noreturn]] void ReportRfcFailure(const std::string& operation);

// Installs the library environment with the fatal report as error handler.
void InstallRfcEnvironment();

// Appends the text of a non-zero return code to the result document.
void AppendRfcOutcome(int code, const std::string& exceptionText);

// Appends a hint taken from the RFC trace file to the result document.
void AppendTraceHint();

// After a failed opening: "Error 1016: " and the library's own message when
// the library in the place of librfc32 says it cannot use a library of its own
// (RFC_KEY_LIBRARY_UNUSABLE: the NetWeaver adapter without SAP's library), a
// fault of the set-up rather than of the SAP system; otherwise empty. Asks
// RfcLastError, a call the PRTG flavours' run does not make here, so only the
// monitoring plugin asks.
std::string LibrarySetUpFault();
