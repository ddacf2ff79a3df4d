#include "run/Worker.h"

#include <cstdlib>

#include "checks/CriticalObjects.h"
#include "config/RunSettings.h"
#include "config/SystemProfile.h"
#include "output/PluginStatus.h"
#include "output/ResultDocument.h"
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
    answer.ErrorText = LastErrorText();
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

void TakeTask(const WorkerTask& task) {
    FindHostFormat(task.HostFlavour, RunSettings.HostFlavour);
    RunSettings.ParameterTextAsGiven = task.Options;
    RunSettings.ParameterText = UpperAscii(task.Options);
    RunSettings.WholeWordOptions = task.WholeWordOptions;
    WantEventLog(ParameterHas(",SYSLOG"));
    RunSettings.VerboseMode = task.VerboseMode;
    RunSettings.GlobalMode = true;
    RunSettings.DeadlineSeconds = 0;  // the run that started it keeps the time
    LogonEntries = task.Entries;
    TakeCarriedSystemNumber(task.CarriedSystemNumber);
    if (task.DocumentOpeningWritten) NoteDocumentOpeningWritten();
}

void CheckSystem(const WorkerTask& task, WorkerAnswer& answer) {
    // The library once per worker, as the run loads it once.
    static const std::string libraryFault = LoadRfcLibrary(IsPluginFlavour());
    if (!libraryFault.empty()) EndWithErrorDocument(libraryFault);
    InstallRfcEnvironment(EndWithFatalReport);
    EmptyDocument();

    const RFC_HANDLE handle = OpenSystemConnection(LogonEntries, RunSettings.VerboseMode);
    if (handle == 0) {
        const std::string setUpFault = task.GoesOn ? LibrarySetUpFault() : "";
        if (!setUpFault.empty()) EndWithErrorDocument(setUpFault);
        answer.Outcome = WorkerOutcome::Failed;
        answer.Failure = "Error 1011: RFC-Open for " + LogonEntries.Destination + " failed !";
        return;
    }
    const AcceptanceOutcome acceptance = AcceptSystem(handle);
    answer.ProbeHostKnown = acceptance.HostKnown;
    if (acceptance.HostKnown) LogonEntries.DisplayedHostname = acceptance.Host;
    answer.ProbeHost = LogonEntries.DisplayedHostname;
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
    // One system after the other, as the run would check them, until the run sends no more.
    while (NextTask(received, task)) {
        TakeTask(task);
        WorkerAnswer answer;
        CheckSystem(task, answer);
        answer.Console = TakeCapturedOutput();
        const std::string bytes = Framed(EncodeAnswer(answer));
        if (!WriteStandardOutputBytes(bytes.data(), bytes.size())) return 2;
    }
    return 0;
}
