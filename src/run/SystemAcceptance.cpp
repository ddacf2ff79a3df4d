#include "run/SystemAcceptance.h"

#include "checks/CpuProbe.h"
#include "checks/SystemInfoProbe.h"
#include "output/RunDocument.h"
#include "output/StandardOutput.h"
#include "rfc/RfcLibrary.h"
#include "run/RunEnd.h"

AcceptanceOutcome AcceptSystem(RFC_HANDLE handle) {
    AcceptanceOutcome outcome;
    const CallOutcome cpu = ProbeCpu(handle);
    if (!cpu.Ok()) {
        outcome.Failure = cpu.Failure;
        return outcome;
    }
    const SystemInfo info = ProbeSystemInfo(handle);
    if (!info.Outcome.Ok()) {
        outcome.Failure = info.Outcome.Failure;
        return outcome;
    }
    outcome.HostKnown = true;
    outcome.Host = info.Host;
    outcome.Result = DatabaseIsOracle(info.DatabaseSystem) ? SystemAcceptance::Accepted : SystemAcceptance::NotOracle;
    return outcome;
}

std::string EndUnlessSystemAccepted(RFC_HANDLE handle) {
    const AcceptanceOutcome acceptance = AcceptSystem(handle);
    if (acceptance.Result == SystemAcceptance::ProbeFailed) EndWithGatheredError(handle, acceptance.Failure);
    if (acceptance.Result == SystemAcceptance::Accepted) return acceptance.Host;
    WriteErrorDocument(DatabaseMismatchText);
    DocumentComplete(2);
    Rfc.RfcClose(handle);
    EndProcess(2);
}
