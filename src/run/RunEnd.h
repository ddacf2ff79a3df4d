// How a run ends with the error document.
#pragma once

#include <string>
#include <string_view>

#include "rfc/RfcInterface.h"

// Replaces the document by the error document, writes it and ends with exit code 2.
[[noreturn]] void EndWithErrorDocument(std::string_view messageText);

constexpr const char* DatabaseMismatchText = "Error 1018: DataBase mismatch !";

// The outcome text a failed check left in the document, with the trace-file
// hint: the error text of EndWithGatheredError.
std::string GatheredErrorText();
// The same text, taken out of the document: a system that failed alone.
std::string TakenGatheredError();

// A failed check: the outcome text it left in the document and the trace-file
// hint become the error document. The connection is closed after the document
// is written, or before the hint is gathered when `closeFirst` is set.
[[noreturn]] void EndWithGatheredError(RFC_HANDLE handle, bool closeFirst = false);
