#include "run/SystemAcceptance.h"

#include "checks/CpuProbe.h"
#include "checks/SystemInfoProbe.h"
#include "config/SystemProfile.h"
#include "output/ResultDocument.h"
#include "output/StandardOutput.h"
#include "rfc/RfcLibrary.h"
#include "run/RunEnd.h"

SystemAcceptance AcceptSystem(RFC_HANDLE handle) {
    if (ProbeCpu(handle) != RFC_OK) return SystemAcceptance::ProbeFailed;
    const SystemInfo info = ProbeSystemInfo(handle);
    if (info.Code != RFC_OK) return SystemAcceptance::ProbeFailed;
    LogonEntries.DisplayedHostname = info.Host;
    return DatabaseIsOracle(info.DatabaseSystem) ? SystemAcceptance::Accepted : SystemAcceptance::NotOracle;
}

void EndUnlessSystemAccepted(RFC_HANDLE handle) {
    const SystemAcceptance acceptance = AcceptSystem(handle);
    if (acceptance == SystemAcceptance::ProbeFailed) EndWithGatheredError(handle);
    if (acceptance == SystemAcceptance::Accepted) return;
    WriteErrorDocument(DatabaseMismatchText);
    WriteDocument();
    DocumentComplete(2);
    Rfc.RfcClose(handle);
    EndProcess(2);
}
