#include "run/SystemAcceptance.h"

#include "checks/CpuProbe.h"
#include "checks/SystemInfoProbe.h"
#include "config/RunSettings.h"
#include "output/ResultDocument.h"
#include "output/StandardOutput.h"
#include "rfc/RfcLibrary.h"
#include "run/RunEnd.h"

SystemAcceptance AcceptSystem(RFC_HANDLE handle) {
    for (int (*probe)(RFC_HANDLE) : {ProbeCpu, ProbeSystemInfo}) {
        RunStatus = "ERR";
        probe(handle);
        if (RunStatus == "ERR") return SystemAcceptance::ProbeFailed;
    }
    return DatabaseIsOracle() ? SystemAcceptance::Accepted : SystemAcceptance::NotOracle;
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
