#include "output/RunContext.h"

#include "platform/OutputLock.h"

RunContextRecord RunContext;

ReportWriter& CurrentWriter() {
    const RunSettingsRecord& settings = *RunContext.Settings;
    if (!RunContext.Writer || RunContext.WriterFormat != settings.HostFlavour) {
        RunContext.Writer = settings.Host().MakeWriter(settings);
        RunContext.WriterFormat = settings.HostFlavour;
    }
    return *RunContext.Writer;
}

void PublishReport(const RunReport& report) {
    OutputLockHeld held;
    PublishLocked(report);
}

void PublishLocked(const RunReport& report) {
    RunReport& published = RunContext.Published;
    // A listing publishes after each system: the systems published before stay, only the new one is copied,
    // so that a listing of many systems costs the same for each of them.
    const bool oneMore = published.Systems.size() + 1 == report.Systems.size() &&
                         published.MultiSystem == report.MultiSystem && published.Item == report.Item;
    if (!oneMore) {
        published = report;
        return;
    }
    published.Systems.push_back(report.Systems.back());
    published.Subject = report.Subject;
    published.NoSystems = report.NoSystems;
    published.Processed = report.Processed;
    published.Failed = report.Failed;
    published.RunError = report.RunError;
    published.DurationSeconds = report.DurationSeconds;
}

void ForgetRun() {
    const ProcessEndHook hook = RunContext.EndHook;
    RunContext = RunContextRecord{};
    RunContext.EndHook = hook;
}
