// The formats written once, from the run's whole report, at its end: a
// writer per host format.
#pragma once

#include <string>

#include "config/HostFormat.h"
#include "config/Thresholds.h"
#include "report/RunReport.h"

// The host's document of the report. Empty for a format that is not written
// from a report (the streamed forms).
std::string WriteReport(HostFormat format, const RunReport& report, const ThresholdsRecord& thresholds);

// The exit code the host expects with that document: 0 for Checkmk and
// Script v2 (their states are in the document; Script v2's output is not read
// after another code), for Prometheus 0 unless an error ended the run (2).
int ReportExitCode(HostFormat format, const RunReport& report);
