#include "run/Worker.h"

#include <cstdlib>

#include "checks/CriticalObjects.h"
#include "config/RunSettings.h"
#include "config/SystemProfile.h"
#include "output/RunContext.h"
#include "output/StandardOutput.h"
#include "platform/EventLog.h"
#include "platform/StandardStreams.h"
#include "platform/WorkerProcess.h"
#include "rfc/Connection.h"
#include "rfc/RfcErrors.h"
#include "rfc/RfcLibrary.h"
#include "run/RunEnd.h"
#include "run/SystemAcceptance.h"
#include "run/SystemConnection.h"
#include "run/WorkerMessages.h"

namespace {

// A run that ends itself (EndProcess), perhaps inside the RFC library's error
// handler: the worker answers with what the run wrote and how it ended, and
// ends at once, never going back into the library.
void AnswerEndedRun(int exitCode) {
    WorkerAnswer answer;
    answer.Outcome = WorkerOutcome::Ended;
    answer.ExitCode = exitCode;
    answer.ErrorText = RunContext.LastErrorText;
    answer.Console = TakeCapturedOutput();
    const std::string bytes = Framed(EncodeAnswer(answer));
    std::_Exit(WriteStandardOutputBytes(bytes.data(), bytes.size()) ? 0 : 2);
}

// The next task, as the run frames it; false when the run sends no more (or nothing a task can be).
bool NextTask(std::string& received, WorkerTask& task) {
    std::string message;
    bool broken = false;
    while (!TakeFramed(received, message, broken)) {
        if (broken || !ReadStandardInputSome(received)) return false;
    }
    task = WorkerTask{};
    return DecodeTask(message, task);
}

// The settings of the run that handed out the task, as far as a system's check needs them.
void TakeTask(const WorkerTask& task, RunSettingsRecord& settings) {
    FindHostFormat(task.HostFlavour, settings.HostFlavour);
    settings.ParameterTextAsGiven = task.Options;
    settings.ParameterText = UpperAscii(task.Options);
    settings.WholeWordOptions = task.WholeWordOptions;
    settings.VerboseMode = task.VerboseMode;
    settings.GlobalMode = true;
    settings.DeadlineSeconds = 0;  // the run that started it keeps the time
    WantEventLog(settings.Has(",SYSLOG"));
    TakeCarriedSystemNumber(task.CarriedSystemNumber);
    // An error document closes the document the run has opened on its standard output.
    if (task.DocumentOpeningWritten) CurrentWriter().Opening(RunReport{});
}

void CheckSystem(const RunSettingsRecord& settings, const WorkerTask& task, LogonEntriesRecord entries,
                 const std::string& libraryFault, WorkerAnswer& answer) {
    if (!libraryFault.empty()) EndWithErrorDocument(libraryFault);
    InstallRfcEnvironment(EndWithFatalReport);

    const RFC_HANDLE handle = OpenSystemConnection(entries, settings);
    if (handle == 0) {
        const std::string setUpFault = task.GoesOn ? LibrarySetUpFault() : "";
        if (!setUpFault.empty()) EndWithErrorDocument(setUpFault);
        answer.Outcome = WorkerOutcome::Failed;
        answer.Failure = "Error 1011: RFC-Open for " + entries.Destination + " failed !";
        return;
    }
    const AcceptanceOutcome acceptance = AcceptSystem(handle);
    answer.ProbeHostKnown = acceptance.HostKnown;
    if (acceptance.HostKnown) entries.DisplayedHostname = acceptance.Host;
    answer.ProbeHost = entries.DisplayedHostname;
    if (acceptance.Result == SystemAcceptance::ProbeFailed) {
        // As the run ends with it: the text gathered before the connection is closed.
        answer.Outcome = task.GoesOn ? WorkerOutcome::Failed : WorkerOutcome::ProbeFailed;
        answer.Failure = GatheredError(acceptance.Failure);
        Rfc.RfcClose(handle);
        return;
    }
    if (acceptance.Result == SystemAcceptance::NotOracle) {
        answer.Outcome = task.GoesOn ? WorkerOutcome::Failed : WorkerOutcome::NotOracle;
        answer.Failure = DatabaseMismatchText;
        Rfc.RfcClose(handle);
        return;
    }
    const CriticalObjectsMeasurement measurement = CheckCriticalObjects(handle);
    answer.Values = measurement.Values;
    answer.Outcome = measurement.Outcome.Ok() ? WorkerOutcome::Measured : WorkerOutcome::Failed;
    if (!measurement.Outcome.Ok()) answer.Failure = task.GoesOn ? GatheredError(measurement.Outcome.Failure) : "";
    Rfc.RfcClose(handle);
}

}  // namespace

int RunWorker() {
    EndWithStartingProcess();
    CaptureStandardOutput();
    SetProcessEndHook(AnswerEndedRun);
    std::string received;
    WorkerTask task;
    bool libraryLoaded = false;
    std::string libraryFault;
    // One system after the other, as the run would check them, until the run sends no more.
    while (NextTask(received, task)) {
        // Each task is a system of the same run: its settings are the task's.
        RunSettingsRecord settings;
        RunContext.Settings = &settings;
        TakeTask(task, settings);
        // The library once per worker, as the run loads it once.
        if (!libraryLoaded) libraryFault = LoadRfcLibrary(settings.Host().NamesLibraryFaults);
        libraryLoaded = true;
        WorkerAnswer answer;
        CheckSystem(settings, task, task.Entries, libraryFault, answer);
        answer.Console = TakeCapturedOutput();
        const std::string bytes = Framed(EncodeAnswer(answer));
        RunContext.Settings = nullptr;
        RunContext.Writer.reset();
        if (!WriteStandardOutputBytes(bytes.data(), bytes.size())) return 2;
    }
    return 0;
}
