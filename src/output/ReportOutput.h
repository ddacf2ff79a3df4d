// The run's report in the formats written from it (Checkmk, Script v2,
// Prometheus): kept where the end of the run, an error that ends it and the
// watchdog find it, and written once.
#pragma once

#include <string>
#include <string_view>

#include "report/RunReport.h"

// True when the run's format is written from its whole report.
bool WritesWholeReport();

// Keeps a copy of the report as it stands: what an error ending the run from
// here on reports besides the error (the systems already measured stay).
void PublishReport(const RunReport& report);
const RunReport& PublishedReport();

// The document of the report, with how long the run took; sets the exit code
// the run ends with (ReportExitCode).
std::string ReportDocument(RunReport report);
// The document of the published report with the error that ended the run (cut
// to 127 characters, as in the error document).
std::string ReportErrorDocument(std::string_view errorText);

// The exit code of the document built last, for the end of the process; 2
// before any, and once a document could not be delivered (--textfile).
int ReportDocumentExitCode();
void NoteReportDocumentLost();

// For a process that runs the sensor more than once (tests, fuzzing harnesses).
void ForgetReport();
