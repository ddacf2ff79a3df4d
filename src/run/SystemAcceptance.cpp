#include "run/SystemAcceptance.h"

#include "checks/CpuProbe.h"
#include "checks/SystemInfoProbe.h"
#include "config/RunSettings.h"
#include "output/ResultDocument.h"
#include "output/StandardOutput.h"
#include "rfc/RfcLibrary.h"
#include "run/RunEnd.h"

void EndUnlessSystemAccepted(RFC_HANDLE handle) {
    RunStatus = "ERR";
    ProbeCpu(handle);
    if (RunStatus == "ERR") EndWithGatheredError(handle);

    RunStatus = "ERR";
    ProbeSystemInfo(handle);
    if (RunStatus == "ERR") EndWithGatheredError(handle);

    if (DatabaseIsOracle()) return;
    WriteErrorDocument("Error 1018: DataBase mismatch !");
    WriteDocument();
    DocumentComplete(2);
    Rfc.RfcClose(handle);
    EndProcess(2);
}
