#include "output/ReportOutput.h"

#include <atomic>

#include "config/RunSettings.h"
#include "config/Thresholds.h"
#include "output/ReportWriters.h"
#include "output/ResultDocument.h"
#include "platform/OutputLock.h"
#include "platform/Watchdog.h"

namespace {

// Written by the run under the output lock, read by the run and by the
// watchdog, which holds that lock.
RunReport Published;
// Of the document built last; read at the end of the process.
std::atomic<int> DocumentExitCode{2};
std::atomic<bool> DocumentLost{false};

}  // namespace

bool WritesWholeReport() { return FormOf(RunSettings.HostFlavour) == DocumentForm::WholeRun; }

void PublishReport(const RunReport& report) {
    OutputLockHeld held;
    Published = report;
}

const RunReport& PublishedReport() { return Published; }

std::string ReportDocument(RunReport report) {
    report.DurationSeconds = static_cast<double>(MillisecondsSinceProcessStart()) / 1000.0;
    DocumentExitCode = ReportExitCode(RunSettings.HostFlavour, report);
    return WriteReport(RunSettings.HostFlavour, report, Thresholds);
}

std::string ReportErrorDocument(std::string_view errorText) {
    RunReport report = Published;
    report.RunError = std::string(errorText.substr(0, MessageTextRoom));
    return ReportDocument(report);
}

int ReportDocumentExitCode() { return DocumentLost ? 2 : DocumentExitCode.load(); }

void NoteReportDocumentLost() { DocumentLost = true; }

void ForgetReport() {
    Published = RunReport{};
    DocumentExitCode = 2;
    DocumentLost = false;
}
