#include "run/ListedSystemCheck.h"

#include "checks/CriticalObjects.h"
#include "rfc/Connection.h"
#include "rfc/RfcErrors.h"
#include "rfc/RfcLibrary.h"
#include "run/RunEnd.h"
#include "run/SystemAcceptance.h"
#include "run/SystemConnection.h"

void CheckListedSystem(const RunSettingsRecord& settings, bool goesOn, LogonEntriesRecord entries,
                       WorkerAnswer& answer) {
    InstallRfcEnvironment(EndWithFatalReport);

    const RFC_HANDLE handle = OpenSystemConnection(entries, settings);
    if (handle == 0) {
        const std::string setUpFault = goesOn ? LibrarySetUpFault() : "";
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
        answer.Outcome = goesOn ? WorkerOutcome::Failed : WorkerOutcome::ProbeFailed;
        answer.Failure = GatheredError(acceptance.Failure);
        Rfc.RfcClose(handle);
        return;
    }
    if (acceptance.Result == SystemAcceptance::NotOracle) {
        answer.Outcome = goesOn ? WorkerOutcome::Failed : WorkerOutcome::NotOracle;
        answer.Failure = DatabaseMismatchText;
        Rfc.RfcClose(handle);
        return;
    }
    CriticalObjectsMeasurement measurement = CheckCriticalObjects(handle, settings.Names);
    answer.Values = measurement.Values;
    answer.Names = std::move(measurement.Names);
    answer.Outcome = measurement.Outcome.Ok() ? WorkerOutcome::Measured : WorkerOutcome::Failed;
    if (!measurement.Outcome.Ok()) answer.Failure = goesOn ? GatheredError(measurement.Outcome.Failure) : "";
    Rfc.RfcClose(handle);
}

