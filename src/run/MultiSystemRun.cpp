#include "run/MultiSystemRun.h"

#include <algorithm>
#include <vector>

#include "checks/CriticalObjects.h"
#include "config/Credentials.h"
#include "config/ProfileLocation.h"
#include "output/Console.h"
#include "output/Deadline.h"
#include "output/RunDocument.h"
#include "output/StandardOutput.h"
#include "platform/Files.h"
#include "platform/Time.h"
#include "rfc/Connection.h"
#include "rfc/RfcErrors.h"
#include "rfc/RfcLibrary.h"
#include "run/ListedSystemCheck.h"
#include "run/ParallelListing.h"
#include "run/RunEnd.h"
#include "run/SystemAcceptance.h"
#include "run/SystemConnection.h"

namespace {

// The start time kept in TraceLine ("* hh:mm:ss SAP ...").
std::string StartTime(const RunSettingsRecord& settings) { return settings.TraceLine.substr(2, 8); }

void SetUp(const RunSettingsRecord& settings, const RunReport& report) {
    UpdateDeadlineNotice(settings.ProfileName);
    if (settings.VerboseMode) WriteOutLine(settings.TraceLine);

    std::string shown = settings.ParameterTextAsGiven;
    std::replace(shown.begin(), shown.end(), ':', ' ');
    shown = shown.substr(0, shown.find(" @"));
    if (settings.VerboseMode)
        WriteOutLine(ConsoleLine("* " + StartTime(settings) + " " + shown) + " State=Executing");
    WriteOpening(report);
}

struct SystemOutcome {
    bool Measured = false;
    ChannelValues Values{};
    std::string Failure;  // why not, as far as it is known
    CriticalNames Names;
};

// The checks on an open connection. In the PRTG flavours a failed probe and
// a database that is not Oracle end the whole run, after what has already
// been streamed; the formats that go on fail this system only. The host the
// system information probe names becomes the entries' displayed host name.
SystemOutcome CheckSystem(const RunSettingsRecord& settings, RFC_HANDLE handle, LogonEntriesRecord& entries) {
    SystemOutcome outcome;
    const bool goesOn = settings.Host().GoesOnPastFailedSystem;
    if (!goesOn) {
        entries.DisplayedHostname = EndUnlessSystemAccepted(handle);
    } else {
        const AcceptanceOutcome acceptance = AcceptSystem(handle);
        if (acceptance.HostKnown) entries.DisplayedHostname = acceptance.Host;
        switch (acceptance.Result) {
            case SystemAcceptance::ProbeFailed: outcome.Failure = GatheredError(acceptance.Failure); return outcome;
            case SystemAcceptance::NotOracle: outcome.Failure = DatabaseMismatchText; return outcome;
            case SystemAcceptance::Accepted: break;
        }
    }
    CriticalObjectsMeasurement measurement = CheckCriticalObjects(handle, settings.Names);
    outcome.Measured = measurement.Outcome.Ok();
    outcome.Values = measurement.Values;
    outcome.Names = std::move(measurement.Names);
    if (!outcome.Measured && goesOn) outcome.Failure = GatheredError(measurement.Outcome.Failure);
    return outcome;
}

// A system that is counted among the systems only: its profile could not be
// opened, or could not be read to its end.
void RecordUnreadSystem(RunReport& report, const std::string& systemName, const std::string& failure) {
    report.Systems.push_back(SystemResult{systemName, systemName, "", false, {}, failure, {}});
    WriteSystemDone(report);
}

// Reads a listed system's profile into the entries, which keep what a profile
// does not say from the systems before it.
ListedSystem ReadListedSystem(const RunSettingsRecord& settings, const std::string& systemName,
                              LogonEntriesRecord& entries) {
    ListedSystem system;
    system.Name = system.Label = systemName;
    TextFile profile;
    if (!profile.Open(settings.ProfileDirectory + systemName)) {
        system.Unread = true;
        system.Failure = ProfileMissingText(systemName, profile.WhyNotOpened());
        return system;
    }
    const LogonEntriesRecord entriesBefore = entries;
    // One system's credentials never go to another: a profile must carry its own.
    entries.User.clear();
    entries.Password.clear();
    system.Faulty = ReadListedProfile(entries, profile, CredentialsForListedSystem(settings.Credentials, systemName),
                                      &system.Failure, systemName);
    if (profile.ReadFailed()) {
        // Skipped like a profile that cannot be opened: what was read before
        // the read error never reaches the next system.
        entries = entriesBefore;
        system.Unread = true;
        return system;
    }
    system.Label = LabelFor(settings.LabelKind, systemName, entries);
    system.Entries = entries;
    system.HostShownByProfile = entries.DisplayedHostname != entriesBefore.DisplayedHostname;
    return system;
}

// The verbose line of a system: "* hh:mm:ss PRD.P00, host, DEST, sysnr, client".
std::string SystemLine(const ListedSystem& system, const LogonEntriesRecord& entries) {
    return ConsoleLine("* " + TimeOfDay() + " " + system.Name + ", " + entries.DisplayedHostname + ", " +
                       entries.Destination + ", " + entries.Sysnr + ", " + entries.Client);
}

// Counts and names a system's outcome, in listing order, and hands it to the
// writer, which streams its channel at once.
void RecordSystem(const RunSettingsRecord& settings, const ListedSystem& system, const SystemOutcome& outcome,
                  RunReport& report) {
    const bool processed = outcome.Measured;
    std::string failure = processed ? "" : outcome.Failure;
    if (!processed && failure.empty()) failure = "no channel " + settings.ItemIdentification;
    report.Systems.push_back(SystemResult{system.Name, system.Label, system.Entries.Destination, processed,
                                          outcome.Values, failure, processed ? outcome.Names : CriticalNames{}});
    ++(processed ? report.Processed : report.Failed);
    WriteSystemDone(report);
}

// The verbose line of a system done.
void WriteSystemState(const RunSettingsRecord& settings, const std::string& systemLine, const RunReport& report) {
    if (settings.VerboseMode)
        WriteOut("\n" + systemLine + " State=" + (report.Systems.back().Measured ? "Processed" : "Rfc Failure") + "\n");
}

// A worker's answer that ends the run as the run itself would have ended:
// the library's fatal report or a set-up fault, and in PRTG's flavours a
// failed probe or a database that is not Oracle (after what was streamed).
void EndIfRunEnded(const RunSettingsRecord& settings, const WorkerAnswer& answer,
                   const std::function<void()>& endWorkers) {
    switch (answer.Outcome) {
        case WorkerOutcome::Ended:
            endWorkers();
            // PRTG's forms: what the worker wrote is what this run would have written.
            if (settings.Host().StreamsSystems && !settings.Host().PluginCommandLine) {
                WriteOut(answer.Console);
                EndProcess(answer.ExitCode);
            }
            WriteErrorDocument(answer.ErrorText);
            EndProcess(answer.ExitCode);
        case WorkerOutcome::ProbeFailed:
        case WorkerOutcome::NotOracle:
            endWorkers();
            WriteOut(answer.Console);
            WriteErrorDocument(answer.Outcome == WorkerOutcome::NotOracle ? DatabaseMismatchText : answer.Failure);
            DocumentComplete(2);
            EndProcess(2);
        case WorkerOutcome::Measured:
        case WorkerOutcome::Failed: break;
    }
}

// One system after the other, in this process: the run as it always was.
void ProcessSystem(const RunSettingsRecord& settings, const std::string& systemName, LogonEntriesRecord& entries,
                   RunReport& report) {
    const ListedSystem system = ReadListedSystem(settings, systemName, entries);
    if (system.Unread) {
        RecordUnreadSystem(report, systemName, system.Failure);
        return;
    }
    UpdateDeadlineNotice(entries.Destination);
    const std::string systemLine = SystemLine(system, entries);

    InstallRfcEnvironment(EndWithFatalReport);

    SystemOutcome outcome;
    outcome.Failure = system.Failure;
    // A faulty profile is never used to log on.
    RFC_HANDLE handle = 0;
    if (!system.Faulty) {
        handle = OpenSystemConnection(entries, settings);
        // A library that cannot work fails every system alike: the formats that
        // go on say so once, as the run's error.
        const bool goesOn = settings.Host().GoesOnPastFailedSystem;
        const std::string setUpFault = handle == 0 && goesOn ? LibrarySetUpFault() : "";
        if (!setUpFault.empty()) EndWithErrorDocument(setUpFault);
        if (handle == 0)
            outcome.Failure = "Error 1011: RFC-Open for " + entries.Destination + " failed !";
        else
            outcome = CheckSystem(settings, handle, entries);
    }
    // The channel goes out before the connection closes, which may hang.
    RecordSystem(settings, system, outcome, report);
    if (handle != 0) Rfc.RfcClose(handle);
    WriteSystemState(settings, systemLine, report);
}

// How the run ends when the listed system at `at`, checked in the run's own
// process, has not answered within its share of the deadline: it fails alone
// (Error 1019), and the systems after it, which need no check, are finished as
// the run finishes them.
std::vector<ListedSystemEnding> EndingAfterShare(const RunSettingsRecord& settings,
                                                 const std::vector<ListedSystem>& systems, std::size_t at,
                                                 const std::string& shownHost, unsigned long long share) {
    std::vector<ListedSystemEnding> rest;
    for (std::size_t next = at; next < systems.size(); ++next) {
        const ListedSystem& system = systems[next];
        if (system.Unread) {
            rest.push_back({SystemResult{system.Name, system.Name, "", false, {}, system.Failure, {}}, false, ""});
            continue;
        }
        LogonEntriesRecord entries = system.Entries;
        if (!system.HostShownByProfile) entries.DisplayedHostname = shownHost;
        std::string failure = system.Failure;
        if (next == at)
            failure = "Error 1019: RFC-Timeout for " + entries.Destination + " after " + std::to_string(share / 1000) +
                      " s !";
        if (failure.empty()) failure = "no channel " + settings.ItemIdentification;
        rest.push_back({SystemResult{system.Name, system.Label, entries.Destination, false, {}, failure, {}}, true,
                        "\n" + SystemLine(system, entries) + " State=Rfc Failure\n"});
    }
    return rest;
}

// The task every worker gets besides its system's entries.
WorkerTask TaskOf(const RunSettingsRecord& settings) {
    WorkerTask task;
    task.HostFlavour = HostFormatName(settings.HostFlavour);
    task.Options = settings.ParameterTextAsGiven;
    task.WholeWordOptions = settings.WholeWordOptions;
    task.VerboseMode = settings.VerboseMode;
    task.DocumentOpeningWritten = settings.Host().PrtgXml;
    task.GoesOn = settings.Host().GoesOnPastFailedSystem;
    task.Exclude = ExcludeText(settings.Names.Excluded);
    task.NamesLimit = settings.Names.Limit;
    return task;
}

// The systems side by side, each in a worker; what each answers is taken in
// listing order, as if the run had checked them one after the other.
void ProcessSystemsSideBySide(const RunSettingsRecord& settings, LogonEntriesRecord& entries, RunReport& report) {
    std::vector<ListedSystem> systems;
    int systemNumber = CarriedSystemNumber();
    for (std::size_t position = 0; position < settings.ServerListing.size();) {
        systems.push_back(
            ReadListedSystem(settings, std::string(TakeNextSystemName(settings.ServerListing, position)), entries));
        ListedSystem& system = systems.back();
        if (!system.NeedsCheck()) continue;
        system.CarriedSystemNumber = systemNumber;
        systemNumber = SystemNumberAfterOpening(system.Entries, settings, systemNumber);
        system.UsesDestinationFile = UsesDestinationFile(system.Entries);
    }

    // A system has until its share of the run's deadline is over; the rest is for writing the document.
    const unsigned long long deadline = settings.DeadlineSeconds * 1000ULL;
    const unsigned long long share = deadline - std::min<unsigned long long>(2000, deadline / 4);

    // The host name a profile without a Hostname line shows: the one the system before reported.
    std::string shownHost = entries.DisplayedHostname;
    const ListedSystemDone take = [&](const ListedSystem& system, const WorkerAnswer* answer,
                                      const std::function<void()>& endWorkers) {
        // Counted as it is taken, as one after the other: an error that ends the
        // run at this system reports the systems before it and this one.
        ++report.NoSystems;
        if (system.Unread) {
            RecordUnreadSystem(report, system.Name, system.Failure);
            return;
        }
        entries = system.Entries;
        if (!system.HostShownByProfile) entries.DisplayedHostname = shownHost;
        UpdateDeadlineNotice(entries.Destination);
        const std::string systemLine = SystemLine(system, entries);
        SystemOutcome outcome;
        outcome.Failure = system.Failure;
        if (answer) {
            EndIfRunEnded(settings, *answer, endWorkers);
            WriteOut(answer->Console);
            outcome.Measured = answer->Outcome == WorkerOutcome::Measured;
            outcome.Values = answer->Values;
            outcome.Names = answer->Names;
            outcome.Failure = answer->Failure;
            if (answer->ProbeHostKnown) entries.DisplayedHostname = answer->ProbeHost;
        }
        shownHost = entries.DisplayedHostname;
        RecordSystem(settings, system, outcome, report);
        WriteSystemState(settings, systemLine, report);
    };

    std::size_t toCheck = 0;
    for (const ListedSystem& system : systems) toCheck += system.NeedsCheck() ? 1 : 0;
    if (toCheck > 1) {
        CheckSideBySide(systems, TaskOf(settings), settings.ParallelSystems, share, take);
        return;
    }
    // One system to check needs no worker: it is checked here, and fails alone
    // when its share of the deadline is over, as in a worker.
    const std::function<void()> noWorkers = [] {};
    for (std::size_t at = 0; at < systems.size(); ++at) {
        const ListedSystem& system = systems[at];
        if (!system.NeedsCheck()) {
            take(system, nullptr, noWorkers);
            continue;
        }
        ArmShareEnding(share, EndingAfterShare(settings, systems, at, shownHost, share));
        UpdateDeadlineNotice(system.Entries.Destination);
        TakeCarriedSystemNumber(system.CarriedSystemNumber);
        WorkerAnswer answer;
        CheckListedSystem(settings, settings.Host().GoesOnPastFailedSystem, system.Entries, answer);
        DisarmShareEnding();
        take(system, &answer, noWorkers);
    }
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

std::string LabelFor(char labelKind, const std::string& systemName, const LogonEntriesRecord& entries) {
    std::string label;
    switch (labelKind) {
        case '2': label = systemName.size() >= 4 ? systemName.substr(0, systemName.size() - 4) : ""; break;
        case '3': label = entries.Hostname; break;
        case '4': label = entries.Destination; break;
        default: label = systemName; break;
    }
    // A system is never shown without a name (a channel named "" is no channel
    // a host can keep apart): one whose label is empty shows its profile's name.
    return label.empty() ? systemName : label;
}

void MultiSystemRun(const RunSettingsRecord& settings, RunReport report) {
    // Nothing is written before a library that cannot be used is reported.
    const std::string libraryFault = LoadRfcLibrary(settings.Host().NamesLibraryFaults);
    if (!libraryFault.empty()) EndWithErrorDocument(libraryFault);

    SetUp(settings, report);
    // The entries a listed profile does not set come from the systems before it.
    LogonEntriesRecord entries;
    // A harness that runs the sensor inside its own process (ProcessEndHookSet)
    // has no sensor program to start as a worker.
    if (settings.ParallelSystems > 1 && !ProcessEndHookSet()) {
        ProcessSystemsSideBySide(settings, entries, report);
    } else {
        std::size_t position = 0;
        while (position < settings.ServerListing.size()) {
            ++report.NoSystems;
            ProcessSystem(settings, std::string(TakeNextSystemName(settings.ServerListing, position)), entries,
                          report);
        }
    }
    WriteClosing(report);
    if (settings.VerboseMode) WriteOutLine("\n* " + TimeOfDay() + " SAP " + ProgramName + " now processed...");
    EndProcess(0);
}
