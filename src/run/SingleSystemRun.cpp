#include "run/SingleSystemRun.h"

#include "checks/CriticalObjects.h"
#include "config/Credentials.h"
#include "config/SystemProfile.h"
#include "output/Console.h"
#include "output/Deadline.h"
#include "output/RunDocument.h"
#include "output/StandardOutput.h"
#include "platform/EventLog.h"
#include "platform/OwnerOnlyFiles.h"
#include "platform/Time.h"
#include "rfc/RfcErrors.h"
#include "rfc/RfcLibrary.h"
#include "run/RunEnd.h"
#include "run/SystemAcceptance.h"
#include "run/SystemConnection.h"

namespace {

void WriteStartLines(const RunSettingsRecord& settings, const LogonEntriesRecord& entries) {
    WriteOutLine(settings.TraceLine);
    WriteOutLine(ConsoleLine("* " + TimeOfDay() + " " + settings.ProfileName + ", " + entries.DisplayedHostname +
                             ", " + entries.Destination + ", " + entries.Sysnr + ", " + entries.Client) +
                 " State=Processing");
    WriteOutLine(ConsoleLine("* " + TimeOfDay() + " " + ProgramName + " - " +
                             OptionsDisplayForm(settings.ParameterTextAsGiven)) +
                 " State=Executing");
    // A monitoring plugin's admin reads this on a terminal; the PRTG flavours'
    // console lines stay as they are.
    if (!settings.Host().WarnsOfOpenProfiles || !entries.PasswordFromProfile) return;
    const std::string mode = ModeOpenToOthers(NativePath(settings.ProfilePath));
    if (!mode.empty())
        WriteOutLine("* Warning: profile " + settings.ProfilePath + " holds a password and is readable by group or "
                     "others (mode " + mode + "): chmod 600 it, or take the credentials from the environment");
}

}  // namespace

std::string OptionsDisplayForm(const std::string& options) {
    std::string shown = options.substr(0, options.find('#'));
    shown = shown.substr(0, shown.find('@'));
    if (shown == "(Parameters " || shown == "(No ") shown.clear();
    return shown.empty() ? "(No Parameters)" : shown;
}

void SingleSystemRun(const RunSettingsRecord& settings, TextFile& profile, const std::string& profileMissing,
                     RunReport report) {
    LogonEntriesRecord entries;
    const std::string profileFault = ReadSystemProfile(entries, profile, settings.ProfileName, profileMissing,
                                                       CredentialsForSingleSystem(settings.Credentials));
    if (!profileFault.empty()) EndWithErrorDocument(profileFault);
    UpdateDeadlineNotice(entries.Destination);

    // Nothing is written before a library that cannot be used is reported.
    const std::string libraryFault = LoadRfcLibrary(settings.Host().NamesLibraryFaults);
    if (!libraryFault.empty()) EndWithErrorDocument(libraryFault);

    RFC_HANDLE handle = 0;
    LogEvent(static_cast<long>(handle), "program started", settings.ProgramPath);
    InstallRfcEnvironment(EndWithFatalReport);
    LogEvent(static_cast<long>(handle), "RfcEnvironment called", "");

    if (settings.VerboseMode) WriteStartLines(settings, entries);

    handle = OpenSystemConnection(entries, settings);
    if (handle == 0) {
        // A monitoring plugin tells a library that cannot work (UNKNOWN) from a system that does not answer.
        const std::string setUpFault = settings.Host().NamesLibraryFaults ? LibrarySetUpFault() : "";
        EndWithErrorDocument(!setUpFault.empty() ? setUpFault
                                                 : "Error 1011: RFC-Open for " + entries.Destination + " failed !");
    }

    entries.DisplayedHostname = EndUnlessSystemAccepted(handle);

    const CriticalObjectsMeasurement measurement = CheckCriticalObjects(handle, settings.Names);
    if (!measurement.Outcome.Ok()) EndWithGatheredError(handle, measurement.Outcome.Failure, true);
    Rfc.RfcClose(handle);

    report.Systems.push_back(SystemResult{settings.ProfileName, report.Subject, entries.Destination, true,
                                          measurement.Values, "", measurement.Names});
    WriteClosing(report);
    DocumentComplete(0);
    DeleteFileIfPresent(RfcTraceFile);
    if (settings.VerboseMode) WriteOutLine("\n* " + TimeOfDay() + " SAP " + ProgramName + " now processed...");
    EndProcess(0);
}
