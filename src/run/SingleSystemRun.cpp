#include "run/SingleSystemRun.h"

#include "checks/CriticalObjects.h"
#include "config/Credentials.h"
#include "config/RunSettings.h"
#include "config/SystemProfile.h"
#include "output/Console.h"
#include "output/Deadline.h"
#include "output/MeasuredDocument.h"
#include "output/PluginStatus.h"
#include "output/ReportOutput.h"
#include "output/ResultDocument.h"
#include "output/StandardOutput.h"
#include "platform/EventLog.h"
#include "platform/Files.h"
#include "platform/OwnerOnlyFiles.h"
#include "platform/Time.h"
#include "rfc/Connection.h"
#include "rfc/RfcErrors.h"
#include "rfc/RfcLibrary.h"
#include "run/RunEnd.h"
#include "run/Startup.h"
#include "run/SystemAcceptance.h"
#include "run/SystemConnection.h"

namespace {

void WriteStartLines() {
    const LogonEntriesRecord& entries = LogonEntries;
    WriteOutLine(RunSettings.TraceLine);
    WriteOutLine(ConsoleLine("* " + TimeOfDay() + " " + RunSettings.ProfileName + ", " + entries.DisplayedHostname +
                             ", " + entries.Destination + ", " + entries.Sysnr + ", " + entries.Client) +
                 " State=Processing");
    WriteOutLine(ConsoleLine("* " + TimeOfDay() + " " + ProgramName + " - " +
                             OptionsDisplayForm(RunSettings.ParameterTextAsGiven)) +
                 " State=Executing");
    // A monitoring plugin's admin reads this on a terminal; the PRTG flavours'
    // console lines stay as they are.
    if (RunSettings.HostFlavour != HostFormat::Nagios || !entries.PasswordFromProfile) return;
    const std::string mode = ModeOpenToOthers(NativePath(RunSettings.ProfilePath));
    if (!mode.empty())
        WriteOutLine("* Warning: profile " + RunSettings.ProfilePath + " holds a password and is readable by group or "
                     "others (mode " + mode + "): chmod 600 it, or take the credentials from the environment");
}

}  // namespace

std::string OptionsDisplayForm(const std::string& options) {
    std::string shown = options.substr(0, options.find('#'));
    shown = shown.substr(0, shown.find('@'));
    if (shown == "(Parameters " || shown == "(No ") shown.clear();
    return shown.empty() ? "(No Parameters)" : shown;
}

int SingleSystemRun(RunReport report) {
    std::string profileFault = ReadSystemProfile(ProfileFile, RunSettings.ProfileName, ProfileMissing,
                                                 CredentialsForSingleSystem(RunSettings.Credentials));
    if (!profileFault.empty()) EndWithErrorDocument(profileFault);
    UpdateDeadlineNotice(LogonEntries.Destination);

    // Nothing is written before a library that cannot be used is reported.
    std::string libraryFault = LoadRfcLibrary(IsPluginFlavour());
    if (!libraryFault.empty()) EndWithErrorDocument(libraryFault);

    RFC_HANDLE handle = 0;
    LogEvent(static_cast<long>(handle), "program started", RunSettings.ProgramPath);
    InstallRfcEnvironment(EndWithFatalReport);
    LogEvent(static_cast<long>(handle), "RfcEnvironment called", "");

    EmptyDocument();
    if (RunSettings.VerboseMode) WriteStartLines();

    handle = OpenSystemConnection(LogonEntries, RunSettings.VerboseMode);
    if (handle == 0) {
        // A monitoring plugin tells a library that cannot work (UNKNOWN) from a system that does not answer.
        const std::string setUpFault = IsPluginFlavour() ? LibrarySetUpFault() : "";
        EndWithErrorDocument(!setUpFault.empty() ? setUpFault
                                                 : "Error 1011: RFC-Open for " + LogonEntries.Destination + " failed !");
    }

    LogonEntries.DisplayedHostname = EndUnlessSystemAccepted(handle);

    const CriticalObjectsMeasurement measurement = CheckCriticalObjects(handle);
    if (!measurement.Outcome.Ok()) EndWithGatheredError(handle, measurement.Outcome.Failure, true);
    Rfc.RfcClose(handle);

    if (WritesWholeReport()) {
        report.Systems.push_back(SystemResult{RunSettings.ProfileName, report.Subject, LogonEntries.Destination, true,
                                              measurement.Values, ""});
        WriteDocumentOut(ReportDocument(report));
        DocumentComplete(0);
        DeleteFileIfPresent(RfcTraceFile);
        return 0;
    }
    BuildSingleSystemDocument(LogonEntries.Destination, measurement.Values);
    WriteDocument();
    DocumentComplete(0);
    DeleteFileIfPresent(RfcTraceFile);
    if (RunSettings.VerboseMode) {
        WriteOutLine("\n* " + TimeOfDay() + " SAP " + ProgramName + " now processed...");
        EndProcess(0);
    }
    return 0;
}
