#include "output/ReportWriters.h"

#include "output/CheckmkWriter.h"
#include "output/PrometheusWriter.h"
#include "output/ScriptV2Writer.h"

namespace {

struct ReportWriterEntry {
    HostFormat Format;
    std::string (*Write)(const RunReport&, const ThresholdsRecord&);
    int (*ExitCode)(const RunReport&);
};

int AlwaysZero(const RunReport&) { return 0; }
int TwoAfterRunError(const RunReport& report) { return report.RunError.empty() ? 0 : 2; }
std::string Prometheus(const RunReport& report, const ThresholdsRecord&) { return PrometheusText(report); }

// Adding a host: its line here, its writer in a file of its own, its name in config/HostFormat.cpp.
constexpr ReportWriterEntry ReportWriters[] = {
    {HostFormat::Checkmk, CheckmkLocalCheck, AlwaysZero},
    {HostFormat::ScriptV2, ScriptV2Document, AlwaysZero},
    {HostFormat::Prometheus, Prometheus, TwoAfterRunError},
};

const ReportWriterEntry* EntryOf(HostFormat format) {
    for (const ReportWriterEntry& entry : ReportWriters)
        if (entry.Format == format) return &entry;
    return nullptr;
}

}  // namespace

std::string WriteReport(HostFormat format, const RunReport& report, const ThresholdsRecord& thresholds) {
    const ReportWriterEntry* entry = EntryOf(format);
    return entry ? entry->Write(report, thresholds) : "";
}

int ReportExitCode(HostFormat format, const RunReport& report) {
    const ReportWriterEntry* entry = EntryOf(format);
    return entry ? entry->ExitCode(report) : 2;
}
