// A writer of the formats written once, from the run's whole report, at its
// end (Checkmk, Script v2, Prometheus): nothing goes out while the run goes
// on; its end, or an error that ends it, writes the whole document with what
// was measured.
#pragma once

#include <memory>
#include <string>

#include "config/RunSettings.h"
#include "output/ReportWriter.h"

struct WholeReportFormat {
    // The host's document of the report.
    std::string (*Write)(const RunReport& report, const ThresholdsRecord& thresholds);
    // The exit code the host expects with that document.
    int (*ExitCode)(const RunReport& report);
};

std::unique_ptr<ReportWriter> MakeWholeReportWriter(const RunSettingsRecord& settings, WholeReportFormat format);
