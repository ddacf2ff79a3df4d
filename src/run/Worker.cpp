#include "run/Worker.h"

#include <algorithm>
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
#include "run/ListedSystemCheck.h"
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
    // The run's EXCLUDE= and NAMES=, which a listing's own options may not carry.
    for (std::size_t at = 0; at < task.Exclude.size();) {
        const std::size_t end = std::min(task.Exclude.find('+', at), task.Exclude.size());
        settings.Names.Excluded.push_back(task.Exclude.substr(at, end - at));
        at = end + 1;
    }
    settings.Names.Limit = task.NamesLimit;
    WantEventLog(settings.Has(",SYSLOG"));
    TakeCarriedSystemNumber(task.CarriedSystemNumber);
    // An error document closes the document the run has opened on its standard output.
    if (task.DocumentOpeningWritten) CurrentWriter().Opening(RunReport{});
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
        if (!libraryFault.empty()) EndWithErrorDocument(libraryFault);
        WorkerAnswer answer;
        CheckListedSystem(settings, task.GoesOn, task.Entries, answer);
        answer.Console = TakeCapturedOutput();
        const std::string bytes = Framed(EncodeAnswer(answer));
        RunContext.Settings = nullptr;
        RunContext.Writer.reset();
        if (!WriteStandardOutputBytes(bytes.data(), bytes.size())) return 2;
    }
    return 0;
}
