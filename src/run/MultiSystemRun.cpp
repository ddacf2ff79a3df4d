#include "run/MultiSystemRun.h"

#include <algorithm>

#include "checks/CriticalObjects.h"
#include "config/Credentials.h"
#include "config/GlobalListing.h"
#include "config/ProfileLocation.h"
#include "config/RunSettings.h"
#include "config/SystemProfile.h"
#include "output/Console.h"
#include "output/Deadline.h"
#include "output/PluginStatus.h"
#include "output/ResultDocument.h"
#include "output/StandardOutput.h"
#include "platform/Files.h"
#include "platform/Time.h"
#include "rfc/Connection.h"
#include "rfc/RfcErrors.h"
#include "rfc/RfcLibrary.h"
#include "run/RunEnd.h"
#include "run/SystemAcceptance.h"

namespace {

// The start time kept in TraceLine ("* hh:mm:ss SAP ...").
std::string StartTime() { return RunSettings.TraceLine.substr(2, 8); }

void SetUp() {
    RunSettings.ParameterText = UpperAscii(RunSettings.ParameterTextAsGiven);
    UpdateDeadlineNotice(RunSettings.ProfileName);
    if (RunSettings.VerboseMode) WriteOutLine(RunSettings.TraceLine);

    std::string shown = RunSettings.ParameterTextAsGiven;
    std::replace(shown.begin(), shown.end(), ':', ' ');
    shown = shown.substr(0, shown.find(" @"));
    if (RunSettings.VerboseMode) WriteOutLine(ConsoleLine("* " + StartTime() + " " + shown) + " State=Executing");

    BeginDocument();
    WriteDocumentLine();
    EmptyDocument();
    NoteDocumentOpeningWritten();
}

// The text a failed call left, taken out of the document.
std::string TakenGatheredError() {
    const std::string text = GatheredErrorText();
    EmptyDocument();
    return text;
}

// The monitoring plugin's checks on an open connection: a failed probe and a
// database that is not Oracle fail this system only, and the run goes on, so
// that the host learns of every system. Returns why the system failed, or an
// empty text.
std::string CheckSystemGoingOn(RFC_HANDLE handle) {
    switch (AcceptSystem(handle)) {
        case SystemAcceptance::ProbeFailed: return TakenGatheredError();
        case SystemAcceptance::NotOracle: return DatabaseMismatchText;
        case SystemAcceptance::Accepted: break;
    }
    RunStatus = "ERR";
    CheckCriticalObjects(handle);
    return RunStatus == "OK" ? "" : TakenGatheredError();
}

// Runs the checks on an open connection. In the PRTG flavours a failed probe
// and a database that is not Oracle end the whole run, after what has already
// been streamed. Returns why the system failed, as far as it is known.
std::string CheckSystem(RFC_HANDLE handle) {
    if (IsPluginFlavour()) return CheckSystemGoingOn(handle);
    EndUnlessSystemAccepted(handle);
    RunStatus = "ERR";
    CheckCriticalObjects(handle);
    return "";
}

void ProcessSystem(const std::string& systemName) {
    RunSettings.ProfilePath = RunSettings.ProfileDirectory + systemName;
    SystemLabel = systemName;
    TextFile profile;
    if (!profile.Open(RunSettings.ProfilePath)) {  // counted among the systems only
        if (IsPluginFlavour()) AddPluginSystem(systemName, ProfileMissingText(systemName, profile.WhyNotOpened()));
        return;
    }

    FaultFlag = '.';
    const LogonEntriesRecord entriesBefore = LogonEntries;
    // One system's credentials never go to another: a profile must carry its own.
    LogonEntries.User.clear();
    LogonEntries.Password.clear();
    std::string failure;
    if (ReadListedProfile(profile, CredentialsForListedSystem(RunSettings.Credentials, systemName), &failure,
                          systemName))
        FaultFlag = 'X';
    if (profile.ReadFailed()) {
        // Skipped like a profile that cannot be opened: what was read before
        // the read error never reaches the next system.
        LogonEntries = entriesBefore;
        if (IsPluginFlavour()) AddPluginSystem(systemName, failure);
        return;
    }
    SystemLabel = LabelFor(LabelKind, systemName);
    UpdateDeadlineNotice(LogonEntries.Destination);

    const LogonEntriesRecord& entries = LogonEntries;
    std::string systemLine = ConsoleLine("* " + TimeOfDay() + " " + systemName + ", " + entries.DisplayedHostname +
                                         ", " + entries.Destination + ", " + entries.Sysnr + ", " + entries.Client);

    InstallRfcEnvironment();
    EmptyDocument();
    RunStatus = "ERR";

    // A faulty profile is never used to log on.
    if (FaultFlag == '.') {
        RFC_HANDLE handle = OpenConnection();
        // A library that cannot work fails every system alike: the monitoring
        // plugin says so once, as UNKNOWN.
        const std::string setUpFault = handle == 0 && IsPluginFlavour() ? LibrarySetUpFault() : "";
        if (!setUpFault.empty()) EndWithErrorDocument(setUpFault);
        if (handle == 0) {
            FaultFlag = 'X';
            failure = "Error 1011: RFC-Open for " + LogonEntries.Destination + " failed !";
        } else {
            failure = CheckSystem(handle);
            Rfc.RfcClose(handle);
        }
    }

    std::string state;
    if (FaultFlag == '.' && RunStatus == "OK" && ReportedFlag == 'X') {
        ++Processed;
        state = "Processed";
        if (IsPluginFlavour()) AddPluginSystem(SystemLabel, "");
    } else {
        if (IsPluginFlavour())
            AddPluginSystem(SystemLabel, !failure.empty() ? failure : "no channel " + RunSettings.ItemIdentification);
        ++Failed;
        state = "Rfc Failure";
    }
    if (RunSettings.VerboseMode) WriteOut("\n" + systemLine + " State=" + state + "\n");
}

void WriteSummary() {
    // A failed check's error text is not carried into the summary.
    EmptyDocument();
    // A monitoring plugin's state needs every system: one that failed, or
    // whose profile is missing, is not OK.
    if (Failed > 0 || NoSystems > Processed + Failed) RaisePluginState(PluginState::Critical);
    BeginText();
    AppendTextToDocument("(***) " + RunSettings.ItemIdentification + ": NoSystems=" + std::to_string(NoSystems) +
                         ", Processed=" + std::to_string(Processed) + ", Failed=" + std::to_string(Failed));
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
    switch (labelKind) {
        case '2': return systemName.size() >= 4 ? systemName.substr(0, systemName.size() - 4) : "";
        case '3': return LogonEntries.Hostname;
        case '4': return LogonEntries.Destination;
        default: return systemName;
    }
}

void MultiSystemRun() {
    // Nothing is written before a library that cannot be used is reported.
    std::string libraryFault = LoadRfcLibrary();
    if (!libraryFault.empty()) EndWithErrorDocument(libraryFault);

    SetUp();
    std::size_t position = 0;
    while (position < ServerListing.size()) {
        ReportedFlag = '.';
        ++NoSystems;
        ProcessSystem(std::string(TakeNextSystemName(ServerListing, position)));
    }
    WriteSummary();
    EndProcess(0);
}
