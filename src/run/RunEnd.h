// The two ways a run ends: with an exit code, or with the error document.
#pragma once

#include <string_view>

#include "rfc/RfcInterface.h"

// Flushes standard output and ends the process with the exit code.
[[noreturn]] void EndProcess(int exitCode);

// Replaces the document by the error document, writes it and ends with exit code 2.
[[noreturn]] void EndWithErrorDocument(std::string_view messageText);

// A failed check: the outcome text it left in the document and the trace-file
// hint become the error document. The connection is closed after the document
// is written, or before the hint is gathered when `closeFirst` is set.
[[noreturn]] void EndWithGatheredError(RFC_HANDLE handle, bool closeFirst = false);

// The CPU probe and the system information probe must succeed and the
// database must be Oracle before anything is measured; otherwise the run ends
// (after whatever has already been written).
void EndUnlessSystemAccepted(RFC_HANDLE handle);
