// How a run ends with the error document, and the end of the library's fatal report.
#pragma once

#include <string>
#include <string_view>

#include "rfc/RfcErrors.h"
#include "rfc/RfcInterface.h"

// Replaces the document by the error document, writes it and ends with exit code 2.
[[noreturn]] void EndWithErrorDocument(std::string_view messageText);

constexpr const char* DatabaseMismatchText = "Error 1018: DataBase mismatch !";

// A failed call's text with the hint of the RFC trace file: the error text of
// a failed check.
std::string GatheredError(const std::string& failure);

// A failed check ends the run: its text and the trace-file hint become the
// error document. The connection is closed after the document is written, or
// before the hint is gathered when `closeFirst` is set.
[[noreturn]] void EndWithGatheredError(RFC_HANDLE handle, const std::string& failure, bool closeFirst = false);

// The library's fatal report as the host reads it (the report's console lines,
// or quietly the error document "Error 1020"), every connection closed, exit
// code 1. The end the RFC environment is installed with.
[[noreturn]] void EndWithFatalReport(const RfcFatalReport& report);
