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
    RunContext.Published = report;
}

void ForgetRun() {
    const ProcessEndHook hook = RunContext.EndHook;
    RunContext = RunContextRecord{};
    RunContext.EndHook = hook;
}
