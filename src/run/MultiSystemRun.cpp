#include "run/MultiSystemRun.h"

#include <algorithm>
#include <vector>

#include "checks/CriticalObjects.h"
#include "config/Credentials.h"
#include "config/GlobalListing.h"
#include "config/ProfileLocation.h"
#include "config/RunSettings.h"
#include "config/SystemProfile.h"
#include "output/Console.h"
#include "output/Deadline.h"
#include "output/MeasuredDocument.h"
#include "output/PluginStatus.h"
#include "output/ReportOutput.h"
#include "output/ResultDocument.h"
#include "output/StandardOutput.h"
#include "platform/Files.h"
#include "platform/Time.h"
#include "report/RunReport.h"
#include "rfc/Connection.h"
#include "rfc/RfcErrors.h"
#include "rfc/RfcLibrary.h"
#include "run/ParallelListing.h"
#include "run/RunEnd.h"
#include "run/SystemAcceptance.h"
#include "run/SystemConnection.h"

namespace {

// How the run's format takes the listed systems.
struct ListingForm {
    // The monitoring plugin and the formats written from the whole report go on
    // past a failed probe or a database that is not Oracle, so that the host
    // learns of every system; the PRTG flavours end the run there.
    bool GoesOn = false;
    // PRTG's flavours and the plugin take each system's channel as it is
    // measured; the other formats are written from the report at the end.
    bool Streams = true;
};

// The start time kept in TraceLine ("* hh:mm:ss SAP ...").
std::string StartTime() { return RunSettings.TraceLine.substr(2, 8); }

void SetUp(const ListingForm& form) {
    UpdateDeadlineNotice(RunSettings.ProfileName);
    if (RunSettings.VerboseMode) WriteOutLine(RunSettings.TraceLine);

    std::string shown = RunSettings.ParameterTextAsGiven;
    std::replace(shown.begin(), shown.end(), ':', ' ');
    shown = shown.substr(0, shown.find(" @"));
    if (RunSettings.VerboseMode) WriteOutLine(ConsoleLine("* " + StartTime() + " " + shown) + " State=Executing");

    if (!form.Streams) return;
    BeginDocument();
    WriteDocumentLine();
    EmptyDocument();
    NoteDocumentOpeningWritten();
}

struct SystemOutcome {
    bool Measured = false;
    ChannelValues Values{};
    std::string Failure;  // why not, as far as it is known
};

// The checks on an open connection. In the PRTG flavours a failed probe and
// a database that is not Oracle end the whole run, after what has already
// been streamed; the forms that go on fail this system only.
SystemOutcome CheckSystem(RFC_HANDLE handle, const ListingForm& form) {
    SystemOutcome outcome;
    if (!form.GoesOn) {
        LogonEntries.DisplayedHostname = EndUnlessSystemAccepted(handle);
    } else {
        const AcceptanceOutcome acceptance = AcceptSystem(handle);
        if (acceptance.HostKnown) LogonEntries.DisplayedHostname = acceptance.Host;
        switch (acceptance.Result) {
            case SystemAcceptance::ProbeFailed: outcome.Failure = GatheredError(acceptance.Failure); return outcome;
            case SystemAcceptance::NotOracle: outcome.Failure = DatabaseMismatchText; return outcome;
            case SystemAcceptance::Accepted: break;
        }
    }
    const CriticalObjectsMeasurement measurement = CheckCriticalObjects(handle);
    outcome.Measured = measurement.Outcome.Ok();
    outcome.Values = measurement.Values;
    if (!outcome.Measured && form.GoesOn) outcome.Failure = GatheredError(measurement.Outcome.Failure);
    return outcome;
}

// A system that is counted among the systems only: its profile could not be
// opened, or could not be read to its end.
void RecordUnreadSystem(RunReport& report, const std::string& systemName, const std::string& failure) {
    if (IsPluginFlavour()) AddPluginSystem(systemName, failure);
    report.Systems.push_back(SystemResult{systemName, systemName, "", false, {}, failure});
}

// Reads a listed system's profile into the logon entries, which keep what a
// profile does not say from the systems before it.
ListedSystem ReadListedSystem(const std::string& systemName) {
    ListedSystem system;
    system.Name = system.Label = systemName;
    TextFile profile;
    if (!profile.Open(RunSettings.ProfileDirectory + systemName)) {
        system.Unread = true;
        system.Failure = ProfileMissingText(systemName, profile.WhyNotOpened());
        return system;
    }
    const LogonEntriesRecord entriesBefore = LogonEntries;
    // One system's credentials never go to another: a profile must carry its own.
    LogonEntries.User.clear();
    LogonEntries.Password.clear();
    system.Faulty = ReadListedProfile(profile, CredentialsForListedSystem(RunSettings.Credentials, systemName),
                                      &system.Failure, systemName);
    if (profile.ReadFailed()) {
        // Skipped like a profile that cannot be opened: what was read before
        // the read error never reaches the next system.
        LogonEntries = entriesBefore;
        system.Unread = true;
        return system;
    }
    system.Label = LabelFor(LabelKind, systemName);
    system.Entries = LogonEntries;
    system.HostShownByProfile = LogonEntries.DisplayedHostname != entriesBefore.DisplayedHostname;
    return system;
}

// The verbose line of a system: "* hh:mm:ss PRD.P00, host, DEST, sysnr, client".
std::string SystemLine(const ListedSystem& system) {
    const LogonEntriesRecord& entries = LogonEntries;
    return ConsoleLine("* " + TimeOfDay() + " " + system.Name + ", " + entries.DisplayedHostname + ", " +
                       entries.Destination + ", " + entries.Sysnr + ", " + entries.Client);
}

// Counts and names a system's outcome, in listing order.
void FinishSystem(const ListedSystem& system, const SystemOutcome& outcome, const std::string& systemLine,
                  RunReport& report) {
    const bool processed = outcome.Measured;
    std::string failure = processed ? "" : outcome.Failure;
    if (!processed && failure.empty()) failure = "no channel " + RunSettings.ItemIdentification;
    if (IsPluginFlavour()) AddPluginSystem(system.Label, failure);
    report.Systems.push_back(
        SystemResult{system.Name, system.Label, system.Entries.Destination, processed, outcome.Values, failure});
    ++(processed ? report.Processed : report.Failed);
    if (RunSettings.VerboseMode)
        WriteOut("\n" + systemLine + " State=" + (processed ? "Processed" : "Rfc Failure") + "\n");
}

// A worker's answer that ends the run as the run itself would have ended:
// the library's fatal report or a set-up fault, and in PRTG's flavours a
// failed probe or a database that is not Oracle (after what was streamed).
void EndIfRunEnded(const WorkerAnswer& answer, const ListingForm& form) {
    switch (answer.Outcome) {
        case WorkerOutcome::Ended:
            EndAllWorkers();
            // PRTG's forms: what the worker wrote is what this run would have written.
            if (form.Streams && !IsPluginFlavour()) {
                WriteOut(answer.Console);
                EndProcess(answer.ExitCode);
            }
            WriteErrorDocument(answer.ErrorText);
            WriteDocument();
            EndProcess(answer.ExitCode);
        case WorkerOutcome::ProbeFailed:
        case WorkerOutcome::NotOracle:
            EndAllWorkers();
            WriteOut(answer.Console);
            WriteErrorDocument(answer.Outcome == WorkerOutcome::NotOracle ? DatabaseMismatchText : answer.Failure);
            WriteDocument();
            DocumentComplete(2);
            EndProcess(2);
        case WorkerOutcome::Measured:
        case WorkerOutcome::Failed: break;
    }
}

// One system after the other, in this process: the run as it always was.
void ProcessSystem(const std::string& systemName, const ListingForm& form, RunReport& report) {
    const ListedSystem system = ReadListedSystem(systemName);
    if (system.Unread) {
        RecordUnreadSystem(report, systemName, system.Failure);
        return;
    }
    UpdateDeadlineNotice(LogonEntries.Destination);
    const std::string systemLine = SystemLine(system);

    InstallRfcEnvironment(EndWithFatalReport);
    EmptyDocument();

    SystemOutcome outcome;
    outcome.Failure = system.Failure;
    // A faulty profile is never used to log on.
    if (!system.Faulty) {
        RFC_HANDLE handle = OpenSystemConnection(LogonEntries, RunSettings.VerboseMode);
        // A library that cannot work fails every system alike: the forms that
        // go on say so once, as the run's error.
        const std::string setUpFault = handle == 0 && form.GoesOn ? LibrarySetUpFault() : "";
        if (!setUpFault.empty()) EndWithErrorDocument(setUpFault);
        if (handle == 0) {
            outcome.Failure = "Error 1011: RFC-Open for " + LogonEntries.Destination + " failed !";
        } else {
            outcome = CheckSystem(handle, form);
            if (outcome.Measured && form.Streams)
                WriteSystemChannel(system.Label, outcome.Values, RunSettings.ItemIdentification);
            Rfc.RfcClose(handle);
        }
    }
    FinishSystem(system, outcome, systemLine, report);
}

// The systems side by side, each in a worker; what each answers is taken in
// listing order, as if the run had checked them one after the other.
void ProcessSystemsSideBySide(const ListingForm& form, RunReport& report) {
    std::vector<ListedSystem> systems;
    int systemNumber = CarriedSystemNumber();
    for (std::size_t position = 0; position < ServerListing.size();) {
        systems.push_back(ReadListedSystem(std::string(TakeNextSystemName(ServerListing, position))));
        ListedSystem& system = systems.back();
        if (!system.NeedsCheck()) continue;
        system.CarriedSystemNumber = systemNumber;
        systemNumber = SystemNumberAfterOpening(system.Entries, systemNumber);
        system.UsesDestinationFile = FileCanBeOpened("SapRfc." + system.Entries.Destination);
    }

    WorkerTask task;
    task.HostFlavour = HostFormatName(RunSettings.HostFlavour);
    task.Options = RunSettings.ParameterTextAsGiven;
    task.WholeWordOptions = RunSettings.WholeWordOptions;
    task.VerboseMode = RunSettings.VerboseMode;
    task.DocumentOpeningWritten = form.Streams && IsXmlFlavour();
    task.GoesOn = form.GoesOn;
    // A system has until its share of the run's deadline is over; the rest is for writing the document.
    const unsigned long long deadline = RunSettings.DeadlineSeconds * 1000ULL;
    const unsigned long long share = deadline - std::min<unsigned long long>(2000, deadline / 4);

    // The host name a profile without a Hostname line shows: the one the system before reported.
    std::string shownHost = LogonEntries.DisplayedHostname;
    CheckSideBySide(systems, task, RunSettings.ParallelSystems, share, [&](const ListedSystem& system,
                                                                           const WorkerAnswer* answer) {
        // Counted as it is taken, as one after the other: an error that ends the
        // run at this system reports the systems before it and this one.
        ++report.NoSystems;
        if (system.Unread) {
            RecordUnreadSystem(report, system.Name, system.Failure);
            if (!form.Streams) PublishReport(report);
            return;
        }
        LogonEntries = system.Entries;
        if (!system.HostShownByProfile) LogonEntries.DisplayedHostname = shownHost;
        UpdateDeadlineNotice(LogonEntries.Destination);
        const std::string systemLine = SystemLine(system);
        SystemOutcome outcome;
        outcome.Failure = system.Failure;
        if (answer) {
            EndIfRunEnded(*answer, form);
            WriteOut(answer->Console);
            outcome.Measured = answer->Outcome == WorkerOutcome::Measured;
            outcome.Values = answer->Values;
            outcome.Failure = answer->Failure;
            if (answer->ProbeHostKnown) LogonEntries.DisplayedHostname = answer->ProbeHost;
            if (outcome.Measured && form.Streams)
                WriteSystemChannel(system.Label, outcome.Values, RunSettings.ItemIdentification);
        }
        shownHost = LogonEntries.DisplayedHostname;
        FinishSystem(system, outcome, systemLine, report);
        if (!form.Streams) PublishReport(report);
    });
}

void WriteSummary(const RunReport& report) {
    // A failed check's error text is not carried into the summary.
    EmptyDocument();
    // A monitoring plugin's state needs every system: one that failed, or
    // whose profile is missing, is not OK.
    if (report.Failed > 0 || report.NoSystems > report.Processed + report.Failed)
        RaisePluginState(PluginState::Critical);
    BeginText();
    AppendTextToDocument("(***) " + RunSettings.ItemIdentification + ": NoSystems=" +
                         std::to_string(report.NoSystems) + ", Processed=" + std::to_string(report.Processed) +
                         ", Failed=" + std::to_string(report.Failed));
    EndText();
    EndDocument();
    WriteDocumentLine();
    if (RunSettings.VerboseMode) WriteOutLine("\n* " + TimeOfDay() + " SAP " + ProgramName + " now processed...");
}

}  // namespace

std::string_view TakeNextSystemName(std::string_view listing, std::size_t& position) {
    std::size_t end = listing.find('#', position);
    // A last name without its "#" is taken as a name all the same.
    if (end == std::string_view::npos) end = listing.size();
    std::string_view name = listing.substr(position, end - position);
    position = end == listing.size() ? end : end + 1;
    return name;
}

std::string LabelFor(char labelKind, const std::string& systemName) {
    std::string label;
    switch (labelKind) {
        case '2': label = systemName.size() >= 4 ? systemName.substr(0, systemName.size() - 4) : ""; break;
        case '3': label = LogonEntries.Hostname; break;
        case '4': label = LogonEntries.Destination; break;
        default: label = systemName; break;
    }
    // A system is never shown without a name (a channel named "" is no channel
    // a host can keep apart): one whose label is empty shows its profile's name.
    return label.empty() ? systemName : label;
}

void MultiSystemRun(RunReport report) {
    // Nothing is written before a library that cannot be used is reported.
    std::string libraryFault = LoadRfcLibrary(IsPluginFlavour());
    if (!libraryFault.empty()) EndWithErrorDocument(libraryFault);

    ListingForm form;
    form.Streams = !WritesWholeReport();
    form.GoesOn = IsPluginFlavour() || !form.Streams;
    SetUp(form);
    // A harness that runs the sensor inside its own process (ProcessEndHookSet)
    // has no sensor program to start as a worker.
    if (RunSettings.ParallelSystems > 1 && !ProcessEndHookSet()) {
        ProcessSystemsSideBySide(form, report);
    } else {
        std::size_t position = 0;
        while (position < ServerListing.size()) {
            ++report.NoSystems;
            ProcessSystem(std::string(TakeNextSystemName(ServerListing, position)), form, report);
            // An error that ends the run from here on keeps what was measured.
            if (!form.Streams) PublishReport(report);
        }
    }
    if (form.Streams) {
        WriteSummary(report);
    } else {
        WriteDocumentOut(ReportDocument(report));
    }
    EndProcess(0);
}
