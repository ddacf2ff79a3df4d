// The run's document as its writer makes it: each part written the moment the
// run reaches it, under the output lock, so that the watchdog always finds the
// writer and the report as far as they have been written.
#pragma once

#include <string_view>

#include "report/RunReport.h"

// A multi-system run's opening, before its first system.
void WriteOpening(const RunReport& report);
// A listed system is done (the last of report.Systems): the report is
// published, and what the writer streams of the system is written.
void WriteSystemDone(const RunReport& report);
// The run came to its end: its document, or a listing's summary and closing.
void WriteClosing(const RunReport& report);
// The error document of an error that ends the run, with the report published
// last; its text is noted for a worker's answer. The caller ends the process.
void WriteErrorDocument(std::string_view errorText);
